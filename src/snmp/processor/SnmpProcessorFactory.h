#pragma once
#include <memory>
#include <string>
#include <unordered_map>

#include "JsonCpp.h"
#include "muduo/base/noncopyable.h"

class PduServer;
class PowerModuleContainer;

namespace snmp
{
class SnmpParser;
class SnmpProcessor;

// Turns one request of the SNMP agent (a JSON object in one datagram) into
// the processor that answers it, through the parser of its "request" code
// (1 to 9). One per process; the table is fixed when it is made.
class SnmpProcessorFactory : muduo::noncopyable
{
public:
    // The outlet control parser takes the server's power modules (none
    // without a server).
    explicit SnmpProcessorFactory(const PduServer* server);
    // The same with the power modules alone (a board without a server).
    explicit SnmpProcessorFactory(const std::shared_ptr<PowerModuleContainer>& outlets);
    ~SnmpProcessorFactory();

    // Empty when the text is not one JSON object (up to its first NUL), has
    // no integer "request" naming a code, or its parser refuses it.
    std::shared_ptr<SnmpProcessor> parseSnmpProcessor(const std::string& text);

private:
    std::unordered_map<int, std::shared_ptr<SnmpParser>> parsers_;
    Json::JsonCpp document_;  // the request being read
};
}
