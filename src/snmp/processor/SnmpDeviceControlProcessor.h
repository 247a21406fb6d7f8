#pragma once
#include "JsonCpp.h"
#include "snmp/processor/SnmpProcessor.h"

namespace snmp
{
// Code 7: "content"."reboot", an integer; any value but 0 reboots the unit
// through the board's command runner. Always answered with result 0.
class SnmpDeviceControlProcessor final : public SnmpProcessor
{
public:
    static const int kCode = 7;

    bool read(const rapidjson::Value& content);
    int work() override;
    bool buildResponseString(int result, std::string& out) override;

private:
    bool reboot_ = false;
};
}
