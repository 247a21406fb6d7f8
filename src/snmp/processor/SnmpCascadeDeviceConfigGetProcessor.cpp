#include "snmp/processor/SnmpCascadeDeviceConfigGetProcessor.h"

#include "GlobalData.h"
#include "muduo/base/Logging.h"
#include "snmp/parser/SnmpFields.h"

namespace snmp
{
namespace
{
const SnmpItemTable::Key kKeys[] = {{"device_addr", SnmpValue::kNumber, 0, SnmpItemTable::kNone},
                                    {"device_uid", SnmpValue::kText, 1, SnmpItemTable::kNone},
                                    {"device_name", SnmpValue::kText, 2, SnmpItemTable::kNone}};
const SnmpItemTable::Group kGroups[] = {{nullptr, kKeys, 3}};
const SnmpItemTable kTable(kGroups);
}

SnmpCascadeDeviceConfigGetProcessor::SnmpCascadeDeviceConfigGetProcessor()
    : SnmpTableProcessor<3>(kCode, kTable, false, "cascade_level")
{
    typedef SnmpCascadeDeviceConfigGetProcessor T;
    bindHandlers<T>(this, {&T::cascadeDeviceConfigGetDeviceAddr, &T::cascadeDeviceConfigGetDeviceUidFun,
                           &T::cascadeDeviceConfigGetDeviceNameFun});
}

bool SnmpCascadeDeviceConfigGetProcessor::read(const rapidjson::Value& content)
{
    // A fraction, an exponent or a number beyond 32 bits names no level.
    if (!SnmpFields::readInt(content, "cascade_level", lead_))
        lead_ = 0;
    return chooseInGroups(content);
}

const _SlaveDevice* SnmpCascadeDeviceConfigGetProcessor::findSlave() const
{
    // Levels count from 1; a slave the master has not placed yet has none.
    if (lead_ < 1)
        return nullptr;
    for (const auto& entry : GlobalData::getDevice().slaves)
        if (entry.second.pollIndex == lead_)
            return &entry.second;
    return nullptr;
}

int SnmpCascadeDeviceConfigGetProcessor::cascadeDeviceConfigGetDeviceAddr()
{
    const _SlaveDevice* slave = findSlave();
    if (!slave)
        return 1;
    value_.number = slave->address;
    return 0;
}

int SnmpCascadeDeviceConfigGetProcessor::cascadeDeviceConfigGetDeviceUidFun()
{
    const _SlaveDevice* slave = findSlave();
    if (!slave)
        return 1;
    value_.text = slave->uid;
    return 0;
}

int SnmpCascadeDeviceConfigGetProcessor::cascadeDeviceConfigGetDeviceNameFun()
{
    const _SlaveDevice* slave = findSlave();
    if (slave)
        value_.text = slave->deviceName;
    LOG_INFO << "device name" << value_.text;
    return slave ? 0 : 1;
}
}
