#include "web/web_parser/WebParser.h"

#include "GlobalData.h"
#include "Utility.h"
#include "muduo/base/Logging.h"

namespace web
{
namespace
{
const char* const kDateTimeKeys[] = {"year", "month", "day", "hour", "minute", "second"};
const int kMaxAddr = 255;  // one byte on the cascade line
}

WebParser::~WebParser() = default;

const rapidjson::Value* WebParser::content(const Json::JsonCpp& request)
{
    return findObject(request.GetDocument(), "content");
}

const rapidjson::Value* WebParser::find(const Value& object, const char* key)
{
    if (!object.IsObject())
        return nullptr;
    const Value::ConstMemberIterator it = object.FindMember(key);
    return it == object.MemberEnd() ? nullptr : &it->value;
}

const rapidjson::Value* WebParser::findObject(const Value& object, const char* key)
{
    const Value* value = find(object, key);
    return value && value->IsObject() ? value : nullptr;
}

const rapidjson::Value* WebParser::findArray(const Value& object, const char* key)
{
    const Value* value = find(object, key);
    return value && value->IsArray() ? value : nullptr;
}

bool WebParser::readInt(const Value& object, const char* key, int& out)
{
    const Value* value = find(object, key);
    if (!value || !value->IsInt())
        return false;
    out = value->GetInt();
    return true;
}

bool WebParser::readUint(const Value& object, const char* key, uint32_t& out)
{
    const Value* value = find(object, key);
    if (!value || !value->IsUint())
        return false;
    out = value->GetUint();
    return true;
}

bool WebParser::readString(const Value& object, const char* key, std::string& out)
{
    const Value* value = find(object, key);
    if (!value || !value->IsString())
        return false;
    out.assign(value->GetString());
    return true;
}

bool WebParser::readIntArray(const Value& object, const char* key, std::vector<int>& out)
{
    const Value* array = findArray(object, key);
    if (!array)
        return false;
    std::vector<int> values;
    values.reserve(array->Size());
    for (const Value& element : array->GetArray())
    {
        if (!element.IsInt())
            return false;
        values.push_back(element.GetInt());
    }
    out.swap(values);
    return true;
}

bool WebParser::readDateTime(const Value& object, const char* key, _DeviceDateTime& out)
{
    const Value* time = findObject(object, key);
    if (!time)
        return false;
    int fields[6] = {};
    for (int i = 0; i < 6; ++i)
        if (!readInt(*time, kDateTimeKeys[i], fields[i]))
            return false;
    out.year = fields[0];
    out.month = fields[1];
    out.day = fields[2];
    out.hour = fields[3];
    out.minute = fields[4];
    out.second = fields[5];
    return true;
}

int WebParser::intOr(const Value& object, const char* key, int fallback)
{
    int value = fallback;
    return readInt(object, key, value) ? value : fallback;
}

double WebParser::limitOr(const Value& object, const char* key)
{
    const Value* value = find(object, key);
    return value && value->IsNumber() ? value->GetDouble() : Utility::kInvalidDoubleValue;
}

bool WebParser::isTrue(const Value& object, const char* key)
{
    const Value* value = find(object, key);
    return value && value->IsTrue();
}

bool WebParser::readAddr(const Value& content, int& addr)
{
    const Value* value = find(content, "addr");
    if (!value)
    {
        addr = 0;
        return true;
    }
    if (!value->IsInt())
        return false;
    const int number = value->GetInt();
    if (number < 0 || number > kMaxAddr)
    {
        LOG_WARN << "addr out of range:" << number;
        return false;
    }
    addr = number;
    return true;
}

uint64_t WebParser::outletMask(const std::vector<int>& ports)
{
    uint64_t mask = 0;
    for (int port : ports)
        if (port >= 0 && port < 64)
            mask |= uint64_t(1) << port;
    return mask;
}

bool WebParser::readLimitPair(const Value& object, const char* upper, const char* lower, double& upperOut,
                              double& lowerOut)
{
    upperOut = limitOr(object, upper);
    lowerOut = limitOr(object, lower);
    const Value* u = find(object, upper);
    const Value* l = find(object, lower);
    return u && u->IsNumber() && l && l->IsNumber();
}

const _SlaveDevice* WebParser::findSlave(int addr)
{
    if (!GlobalData::getDevice().isMaster)
    {
        LOG_WARN << "not the master, request for addr:" << addr << " dropped";
        return nullptr;
    }
    const std::map<int, _SlaveDevice>& slaves = GlobalData::getDevice().slaves;
    const auto it = slaves.find(addr);
    if (it == slaves.end())
    {
        LOG_WARN << "no slave with addr:" << addr;
        return nullptr;
    }
    return &it->second;
}

bool WebParser::mayRelay(int addr) { return findSlave(addr) != nullptr; }
}
