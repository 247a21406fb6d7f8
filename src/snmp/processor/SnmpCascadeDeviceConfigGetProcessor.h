#pragma once
#include "snmp/processor/SnmpTableProcessor.h"

struct _SlaveDevice;

namespace snmp
{
// Code 9: one item of a cascade slave's configuration from the master's
// cache, the slave named by its cascade level ("cascade_level", 1 for the
// first slave; missing or not an integer: 0, which names none). Items:
// "device_addr", "device_uid", "device_name", tried in this order.
class SnmpCascadeDeviceConfigGetProcessor final : public SnmpTableProcessor<3>
{
public:
    static const int kCode = 9;

    SnmpCascadeDeviceConfigGetProcessor();

    bool read(const rapidjson::Value& content) override;

    int cascadeDeviceConfigGetDeviceAddr();
    int cascadeDeviceConfigGetDeviceUidFun();
    int cascadeDeviceConfigGetDeviceNameFun();

private:
    // The first slave, in address order, at the cascade level; null for none.
    const _SlaveDevice* findSlave() const;
};
}
