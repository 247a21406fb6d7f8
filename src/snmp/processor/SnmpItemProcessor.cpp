#include "snmp/processor/SnmpItemProcessor.h"

#include "snmp/parser/SnmpFields.h"

namespace snmp
{
SnmpItemProcessor::SnmpItemProcessor(int code, const SnmpItemTable& table, bool set, const char* leadKey, int noItem)
    : code_(code), table_(table), set_(set), leadKey_(leadKey), item_(noItem)
{
}

SnmpItemProcessor::~SnmpItemProcessor() = default;

bool SnmpItemProcessor::choose(const rapidjson::Value& object, size_t group)
{
    const int item = SnmpItemTable::choose(object, table_.group(group), set_, value_);
    if (item == SnmpItemTable::kNone)
        return false;
    item_ = item;
    return true;
}

bool SnmpItemProcessor::chooseInGroups(const rapidjson::Value& content)
{
    for (size_t g = 0; g < table_.groupCount(); ++g)
    {
        const char* name = table_.group(g).name;
        const rapidjson::Value* object = name ? SnmpFields::findObject(content, name) : &content;
        if (object && choose(*object, g))
            return true;
    }
    return false;
}

bool SnmpItemProcessor::buildResponseString(int result, std::string& out)
{
    Json::JsonCpp& writer = beginResponse(code_, result);
    const SnmpItemTable::Group* group = nullptr;
    const SnmpItemTable::Key* key = result == 0 ? table_.find(item_, set_, &group) : nullptr;
    if (key)
    {
        writer.Key("content");
        writer.StartObject();
        if (group->name)
        {
            writer.Key(group->name);
            writer.StartObject();
        }
        if (leadKey_)
            writer.WriteKeyValue(leadKey_, lead_);
        writer.Key(key->name);
        writeValue(writer, key->kind);
        if (group->name)
            writer.EndObject();
        writer.EndObject();
    }
    return endResponse(out);
}

void SnmpItemProcessor::writeValue(Json::JsonCpp& writer, SnmpValue::Kind kind)
{
    switch (kind)
    {
    case SnmpValue::kText:
        writer.WriteValue(value_.text.c_str());  // up to its first NUL
        break;
    case SnmpValue::kNumber:
        writer.WriteValue(value_.number);
        break;
    case SnmpValue::kLimit:
        writeLimit(value_.limit);
        break;
    case SnmpValue::kFlag:
        writer.WriteValue(value_.flag);
        break;
    }
}
}
