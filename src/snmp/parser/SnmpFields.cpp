#include "snmp/parser/SnmpFields.h"

namespace snmp
{
const SnmpFields::Value* SnmpFields::find(const Value& object, const char* key)
{
    if (!object.IsObject())
        return nullptr;
    const Value::ConstMemberIterator member = object.FindMember(key);
    return member == object.MemberEnd() ? nullptr : &member->value;
}

const SnmpFields::Value* SnmpFields::findObject(const Value& object, const char* key)
{
    const Value* value = find(object, key);
    return value && value->IsObject() ? value : nullptr;
}

bool SnmpFields::isTrue(const Value& object, const char* key)
{
    const Value* value = find(object, key);
    return value && value->IsTrue();
}

bool SnmpFields::readInt(const Value& object, const char* key, int& out)
{
    const Value* value = find(object, key);
    if (!value || !value->IsInt())
        return false;
    out = value->GetInt();
    return true;
}

bool SnmpFields::readNumber(const Value& object, const char* key, double& out)
{
    const Value* value = find(object, key);
    if (!value || !value->IsNumber())
        return false;
    out = value->GetDouble();
    return true;
}

bool SnmpFields::readString(const Value& object, const char* key, std::string& out)
{
    const Value* value = find(object, key);
    if (!value || !value->IsString())
        return false;
    out = value->GetString();
    return true;
}

bool SnmpFields::readBool(const Value& object, const char* key, bool& out)
{
    const Value* value = find(object, key);
    if (!value || !value->IsBool())
        return false;
    out = value->GetBool();
    return true;
}
}
