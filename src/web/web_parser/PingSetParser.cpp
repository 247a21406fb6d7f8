#include "web/web_parser/PingSetParser.h"

#include <arpa/inet.h>

#include "Utility.h"

namespace web
{
bool PingSetParser::read(const Value& content, int, Settings& settings)
{
    const Value* set = findArray(content, "set");
    if (!set)
        return false;
    for (const Value& element : set->GetArray())
    {
        PingSetting setting;
        if (!readOne(element, setting))
            return false;
        settings.emplace(setting.port, setting);
    }
    return true;
}

bool PingSetParser::readOne(const Value& element, PingSetting& setting)
{
    const Value* port = find(element, "port");
    if (!port)
        return false;
    // A port that is no integer is taken as outlet 0.
    setting.port = port->IsInt() ? port->GetInt() : 0;
    LOG_INFO << "port:" << setting.port;
    std::string ip;
    unsigned int address = 0;
    if (!readString(element, "ip", ip))
        return false;
    if (!Utility::ipStringToNetwork(ip, address))
    {
        LOG_WARN << "ping setting of port " << setting.port << ": \"" << ip << "\" is no IPv4 address";
        return false;
    }
    setting.ip = ntohl(address);
    LOG_INFO << "ip:" << ip;
    if (!readUint(element, "interval", setting.interval))
        return false;
    LOG_INFO << "interval:" << setting.interval;
    if (!readUint(element, "timeout", setting.timeout))
        return false;
    LOG_INFO << "timeout:" << setting.timeout;
    if (!readInt(element, "action", setting.action))
        return false;
    LOG_INFO << "action:" << setting.action;
    return readInt(element, "enabled", setting.enabled);
}

bool PingSetParser::travels(const Settings& settings)
{
    typedef WebCommandParser Base;
    for (const auto& entry : settings)
    {
        const PingSetting& s = entry.second;
        if (!Base::travels(s.interval, 0, 255, "ping interval") || !Base::travels(s.timeout, 0, 255, "ping timeout") ||
            !Base::travels(s.action, 0, 255, "ping action") || !Base::travels(s.enabled, 0, 255, "ping enabled"))
            return false;
    }
    return true;
}
}
