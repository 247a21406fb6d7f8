#pragma once
#include <memory>

#include "JsonCpp.h"
#include "snmp/processor/SnmpProcessor.h"

class PowerModuleContainer;

namespace snmp
{
// Code 8: "content"."outlet_control" with the integers "port" and "on_off"
// (1 on, 0 off, 2 restart, anything else nothing) switches one outlet of
// this unit by the outlet action rule, with its delays. Result 1 for an
// outlet this unit lacks or a request the rule refuses; whether the module
// acknowledges is not awaited.
class SnmpOutletControlProcessor final : public SnmpProcessor
{
public:
    static const int kCode = 8;

    explicit SnmpOutletControlProcessor(const std::shared_ptr<PowerModuleContainer>& modules);

    bool read(const rapidjson::Value& content);
    int work() override;
    bool buildResponseString(int result, std::string& out) override;

private:
    std::shared_ptr<PowerModuleContainer> modules_;
    int port_ = -1;
    int action_ = 0;
};
}
