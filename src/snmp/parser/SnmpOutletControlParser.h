#pragma once
#include "snmp/parser/SnmpRequestParser.h"
#include "snmp/processor/SnmpOutletControlProcessor.h"

namespace snmp
{
// Code 8: outlet control; hands each processor the daemon's power modules.
class SnmpOutletControlParser final : public SnmpRequestParser<SnmpOutletControlProcessor>
{
public:
    explicit SnmpOutletControlParser(const std::shared_ptr<PowerModuleContainer>& modules)
        : SnmpRequestParser([modules] { return std::make_shared<SnmpOutletControlProcessor>(modules); })
    {
    }
};
}
