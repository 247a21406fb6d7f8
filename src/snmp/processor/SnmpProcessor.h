#pragma once
#include <string>

namespace snmp
{
// One request of the SNMP agent, ready to run.
class SnmpProcessor
{
public:
    virtual ~SnmpProcessor() = default;
    // Runs the request and writes the JSON answer.
    virtual void process(std::string& response) = 0;
};
}
