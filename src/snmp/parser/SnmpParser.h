#pragma once
#include <memory>

#include "JsonCpp.h"
#include "muduo/base/noncopyable.h"

namespace snmp
{
class SnmpProcessor;

// Reads one request code's "content" into a new processor. One per code,
// owned by the factory's table for the process's life; holds nothing of a
// request.
class SnmpParser : muduo::noncopyable
{
public:
    virtual ~SnmpParser();

    // 1 with out set to the new processor when the request is well formed
    // for this code; 0 with out untouched otherwise.
    virtual int parse(Json::JsonCpp& request, std::shared_ptr<SnmpProcessor>& out) = 0;
};
}
