#pragma once
#include <cstdint>

#include "snmp/processor/SnmpTableProcessor.h"

namespace snmp
{
// Codes 3 and 4: one item of one outlet of this unit, its name, delays and
// current limits. A group object of "content" names the outlet in "port"
// and the item by a key: "outlet_name": "name"; "outlet_delay": "on",
// "off", "restart"; "outlet_threshold": "min_warn_current",
// "max_warn_current", "min_fault_current", "max_fault_current". The answer
// repeats the port.
class SnmpOutletConfigProcessor : public SnmpTableProcessor<8>
{
public:
    enum Item
    {
        kName,
        kOnDelay,
        kOffDelay,
        kRestartDelay,
        kWarnLower,
        kWarnUpper,
        kFaultLower,
        kFaultUpper,
    };

    bool read(const rapidjson::Value& content) final;

protected:
    SnmpOutletConfigProcessor(int code, bool set);

    int port() const { return lead_; }
    // The record's fields of the port (an outlet of this unit, see
    // LocalOutlets) for a delay or limit item.
    static int32_t& delayField(int port, int item);
    static double& limitField(int port, int item);
};
}
