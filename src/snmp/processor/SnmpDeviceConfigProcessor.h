#pragma once
#include "snmp/processor/SnmpTableProcessor.h"

namespace snmp
{
// Codes 1 and 2: one item of this unit's configuration, its identity string
// (read only), its name and its inlet and sensor warning limits. Items in
// "content": "device_uid", "device_name"; in "device_threshold":
// "min_current", "max_current", "min_voltage", "max_voltage"; in
// "sensor_threshold": "min_temp", "max_temp", "min_hum", "max_hum", tried
// in this order.
class SnmpDeviceConfigProcessor : public SnmpTableProcessor<10>
{
public:
    enum Item
    {
        kUid,
        kName,
        kCurrentUpper,
        kCurrentLower,
        kVoltageUpper,
        kVoltageLower,
        kTempUpper,
        kTempLower,
        kHumUpper,
        kHumLower,
    };

    bool read(const rapidjson::Value& content) final;

protected:
    SnmpDeviceConfigProcessor(int code, bool set);

    // The record's field of a limit item (kCurrentUpper to kHumLower).
    static double& limitField(int item);
};
}
