#include "snmp/processor/SnmpItemTable.h"

#include "snmp/parser/SnmpFields.h"

namespace snmp
{
namespace
{
bool readKind(const rapidjson::Value& object, const char* key, SnmpValue::Kind kind, SnmpValue& value)
{
    switch (kind)
    {
    case SnmpValue::kText:
        return SnmpFields::readString(object, key, value.text);
    case SnmpValue::kNumber:
        return SnmpFields::readInt(object, key, value.number);
    case SnmpValue::kLimit:
        return SnmpFields::readNumber(object, key, value.limit);
    case SnmpValue::kFlag:
        break;
    }
    return SnmpFields::readBool(object, key, value.flag);
}
}

int SnmpItemTable::choose(const rapidjson::Value& object, const Group& group, bool set, SnmpValue& value)
{
    for (size_t i = 0; i < group.count; ++i)
    {
        const Key& key = group.keys[i];
        if (!set && SnmpFields::isTrue(object, key.name))
            return key.getItem;
        if (set && key.setItem != kNone && readKind(object, key.name, key.kind, value))
            return key.setItem;
    }
    return kNone;
}

const SnmpItemTable::Key* SnmpItemTable::find(int item, bool set, const Group** group) const
{
    for (size_t g = 0; g < count_; ++g)
        for (size_t i = 0; i < groups_[g].count; ++i)
        {
            const Key& key = groups_[g].keys[i];
            if (item != kNone && item == (set ? key.setItem : key.getItem))
            {
                *group = &groups_[g];
                return &key;
            }
        }
    return nullptr;
}
}
