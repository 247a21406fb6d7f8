#pragma once
#include <string>

#include "JsonCpp.h"
#include "muduo/base/noncopyable.h"

namespace snmp
{
// One request of the SNMP agent, made afresh by its parser for that request
// alone: work() carries it out, buildResponseString() writes the answer.
class SnmpProcessor : muduo::noncopyable
{
public:
    SnmpProcessor();
    virtual ~SnmpProcessor();

    // 0 done, any other value failed: the answer's "result".
    virtual int work() = 0;
    // Replaces out with the answer for result; true.
    virtual bool buildResponseString(int result, std::string& out) = 0;

    // buildResponseString(work(), out).
    bool process(std::string& out);

protected:
    // Empties the writer and opens {"response":code,"result":result.
    Json::JsonCpp& beginResponse(int code, int result);
    // Closes the object and copies the text into out; true.
    bool endResponse(std::string& out);
    // A limit with at most two decimals, cut rather than rounded; a value
    // JSON cannot hold (infinite, NaN) is written as the invalid value.
    void writeLimit(double value);

private:
    Json::JsonCpp writer_;
};
}
