// The answers of the queries that list records: thresholds, delays, tasks,
// ping settings, names and NTP servers.
#include <arpa/inet.h>

#include <cstring>

#include "Utility.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace web
{
namespace
{
const int kRemarkBytes = 16;

// The remark's first 16 bytes, a character cut by the limit dropped whole.
std::string remarkText(const std::string& remark)
{
    char field[kRemarkBytes] = {};
    std::memcpy(field, remark.data(), strnlen(remark.c_str(), sizeof field));
    Utility::normalizeUtf8String(field, kRemarkBytes);
    return std::string(field, strnlen(field, sizeof field));
}
}

void WebPacketBuilder::buildQueryOutputThresholdRetPacket(Json::JsonCpp& writer, std::string& out, int result,
                                                          int addr, const _DeviceOutputThreshold* list, int count)
{
    if (start(writer, 22, result))
    {
        openContent(writer, addr, "threshold", true);
        for (int i = 0; list && i < count; ++i)
        {
            writer.StartObject();
            writer.WriteKeyValue("port", static_cast<int>(list[i].port));
            writeDecimal(writer, "warn_upper_current", list[i].warnUpperCurrent, kAmperes);
            writeDecimal(writer, "warn_lower_current", list[i].warnLowerCurrent, kAmperes);
            writeDecimal(writer, "off_upper_current", list[i].offUpperCurrent, kAmperes);
            writeDecimal(writer, "off_lower_current", list[i].offLowerCurrent, kAmperes);
            writer.EndObject();
        }
        closeContent(writer, true);
    }
    finish(writer, out);
}

void WebPacketBuilder::buildQueryInputThresholdRetPacket(Json::JsonCpp& writer, std::string& out, int result,
                                                         int addr, const _DeviceInputThreshold& t)
{
    if (start(writer, 23, result))
    {
        // Empty when the record selects no pair.
        openContent(writer, addr, "threshold", false);
        writePair(writer, t.mask & 0x02, "warn_upper_current", t.warnUpperCurrent, "warn_lower_current",
                  t.warnLowerCurrent, kAmperes);
        writePair(writer, t.mask & 0x01, "warn_upper_voltage", t.warnUpperVoltage, "warn_lower_voltage",
                  t.warnLowerVoltage, kVolts);
        writePair(writer, t.mask & 0x04, "off_upper_current", t.offUpperCurrent, "off_lower_current",
                  t.offLowerCurrent, kAmperes);
        closeContent(writer, false);
    }
    finish(writer, out);
}

void WebPacketBuilder::buildQueryTempHumiThresholdRetPacket(Json::JsonCpp& writer, std::string& out, int result,
                                                            int addr, const _DeviceTempHumiThreshold& t)
{
    if (start(writer, 25, result))
    {
        openContent(writer, addr, "threshold", false);
        writePair(writer, t.mask & 0x01, "warn_upper_temp", t.warnUpperTemp, "warn_lower_temp", t.warnLowerTemp,
                  kDegrees);
        writePair(writer, t.mask & 0x02, "warn_upper_humi", t.warnUpperHumi, "warn_lower_humi", t.warnLowerHumi,
                  kPercent);
        closeContent(writer, false);
    }
    finish(writer, out);
}

void WebPacketBuilder::buildQueryPortDelayRetPacket(Json::JsonCpp& writer, std::string& out, int result, int addr,
                                                    const _DevicePortDelay* list, int count)
{
    if (start(writer, 24, result))
    {
        openContent(writer, addr, "delay", true);
        for (int i = 0; list && i < count; ++i)
        {
            writer.StartObject();
            writer.WriteKeyValue("port", static_cast<int>(list[i].port));
            writer.WriteKeyValue("on", static_cast<int>(list[i].onDelay));
            writer.WriteKeyValue("off", static_cast<int>(list[i].offDelay));
            writer.WriteKeyValue("restart", static_cast<int>(list[i].restartDelay));
            writer.EndObject();
        }
        closeContent(writer, true);
    }
    finish(writer, out);
}

void WebPacketBuilder::buildQueryScheduledTaskRetPacket(Json::JsonCpp& writer, std::string& out, int result, int addr,
                                                        const std::vector<_DeviceTask>& tasks)
{
    if (start(writer, 26, result))
    {
        openContent(writer, addr, "tasks", true);
        for (const _DeviceTask& task : tasks)
        {
            writer.StartObject();
            writer.WriteKeyValue("id", static_cast<int>(task.id));
            writer.Key("ports");
            writer.StartArray();
            // Every outlet of the mask: wide slaves' tasks name outlets past 31.
            for (int port = 0; port < 64; ++port)
                if ((task.ports >> port) & 1u)
                    writer.WriteValue(port);
            writer.EndArray();
            writer.WriteKeyValue("action", static_cast<int>(task.action));
            writer.Key("time");
            writer.StartObject();
            writer.WriteKeyValue("year", static_cast<int>(task.year));
            writer.WriteKeyValue("month", static_cast<int>(task.month));
            writer.WriteKeyValue("day", static_cast<int>(task.day));
            writer.WriteKeyValue("hour", static_cast<int>(task.hour));
            writer.WriteKeyValue("minute", static_cast<int>(task.minute));
            writer.WriteKeyValue("second", static_cast<int>(task.second));
            writer.EndObject();
            writer.WriteKeyValue("repeat", static_cast<unsigned int>(task.repeat));
            writer.WriteKeyValue("remark", remarkText(task.remark));
            writer.EndObject();
        }
        closeContent(writer, true);
    }
    finish(writer, out);
}

void WebPacketBuilder::buildAddScheduledTaskRetPacket(Json::JsonCpp& writer, std::string& out, int result, int addr,
                                                      unsigned int id)
{
    if (start(writer, 27, result))
    {
        writer.Key("content");
        writer.StartObject();
        writer.WriteKeyValue("addr", addr);
        writer.WriteKeyValue("id", id);
        writer.EndObject();
    }
    finish(writer, out);
}

void WebPacketBuilder::buildQueryPingRetPacket(Json::JsonCpp& writer, std::string& out, int result, int addr,
                                               const std::vector<PingSetting>& settings)
{
    if (start(writer, 38, result))
    {
        openContent(writer, addr, "sets", true);
        for (const PingSetting& setting : settings)
        {
            std::string ip;
            Utility::ipNetworkToString(htonl(setting.ip), ip);
            writer.StartObject();
            writer.WriteKeyValue("port", static_cast<int>(setting.port));
            writer.WriteKeyValue("ip", ip);
            writer.WriteKeyValue("interval", static_cast<unsigned int>(setting.interval));
            writer.WriteKeyValue("timeout", static_cast<unsigned int>(setting.timeout));
            writer.WriteKeyValue("action", static_cast<int>(setting.action));
            writer.WriteKeyValue("enabled", static_cast<int>(setting.enabled));
            writer.EndObject();
        }
        closeContent(writer, true);
    }
    finish(writer, out);
}

void WebPacketBuilder::buildQueryNameRetPacket(Json::JsonCpp& writer, std::string& out, int result, int addr,
                                               const std::map<int, std::string>& names)
{
    if (start(writer, 31, result))
    {
        writer.Key("content");
        writer.StartObject();
        writer.WriteKeyValue("addr", addr);
        const auto unit = names.find(-1);
        if (unit != names.end())
            writer.WriteKeyValue("device_name", unit->second);
        writer.Key("port_names");
        writer.StartArray();
        for (auto it = names.lower_bound(0); it != names.end(); ++it)
        {
            writer.StartObject();
            writer.WriteKeyValue("port", it->first);
            writer.WriteKeyValue("name", it->second);
            writer.EndObject();
        }
        writer.EndArray();
        writer.EndObject();
    }
    finish(writer, out);
}

void WebPacketBuilder::buildQueryNtpServerRetPacket(Json::JsonCpp& writer, std::string& out, int result, int addr,
                                                    const std::string& first, const std::string& second)
{
    if (start(writer, 39, result))
    {
        writer.Key("content");
        writer.StartObject();
        writer.WriteKeyValue("addr", addr);
        writer.WriteKeyValue("master_ntp_server", first);
        writer.WriteKeyValue("slave_ntp_server", second);
        writer.EndObject();
    }
    finish(writer, out);
}
}
