#pragma once
#include <memory>
#include <string>

class PduServer;

namespace snmp
{
class SnmpProcessor;

// Turns one request of the SNMP agent (JSON) into the processor that answers it.
class SnmpProcessorFactory
{
public:
    explicit SnmpProcessorFactory(const PduServer* server);

    // Empty when the request is not valid JSON or names no known request.
    std::shared_ptr<SnmpProcessor> parseSnmpProcessor(const std::string& request);
};
}
