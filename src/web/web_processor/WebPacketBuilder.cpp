#include "web/web_processor/WebPacketBuilder.h"

#include <cmath>

#include "Utility.h"

namespace web
{
bool WebPacketBuilder::start(Json::JsonCpp& writer, int code, int result)
{
    writer.Clear();
    writer.StartObject();
    writer.WriteKeyValue("response", code);
    writer.WriteKeyValue("result", result);
    return result == 0;
}

void WebPacketBuilder::finish(Json::JsonCpp& writer, std::string& out)
{
    writer.EndObject();
    out = writer.GetString();
}

void WebPacketBuilder::writeResultOnly(Json::JsonCpp& writer, std::string& out, int code, int result)
{
    start(writer, code, result);
    finish(writer, out);
}

void WebPacketBuilder::writeDecimal(Json::JsonCpp& writer, const char* key, double value, int places)
{
    writer.SetMaxDecimalPlaces(places);
    writer.WriteKeyValue(key, std::isfinite(value) ? value : Utility::kInvalidDoubleValue);
    writer.SetMaxDecimalPlaces(Json::JsonCpp::kDefaultMaxDecimalPlaces);
}

void WebPacketBuilder::writePair(Json::JsonCpp& writer, bool selected, const char* upperKey, double upper,
                                 const char* lowerKey, double lower, int places)
{
    if (!selected)
        return;
    writeDecimal(writer, upperKey, upper, places);
    writeDecimal(writer, lowerKey, lower, places);
}

void WebPacketBuilder::openContent(Json::JsonCpp& writer, int addr, const char* key, bool array)
{
    writer.Key("content");
    writer.StartObject();
    writer.WriteKeyValue("addr", addr);
    writer.Key(key);
    if (array)
        writer.StartArray();
    else
        writer.StartObject();
}

void WebPacketBuilder::closeContent(Json::JsonCpp& writer, bool array)
{
    if (array)
        writer.EndArray();
    else
        writer.EndObject();
    writer.EndObject();
}

// ---- Answers without content ------------------------------------------

void WebPacketBuilder::buildOperatePortRetPacket(Json::JsonCpp& w, std::string& out, int r)
{
    writeResultOnly(w, out, 2, r);
}
void WebPacketBuilder::buildSetOutputThresholdRetPacket(Json::JsonCpp& w, std::string& out, int r)
{
    writeResultOnly(w, out, 4, r);
}
void WebPacketBuilder::buildSetInputThresholdRetPacket(Json::JsonCpp& w, std::string& out, int r)
{
    writeResultOnly(w, out, 5, r);
}
void WebPacketBuilder::buildSetPortDelayRetPacket(Json::JsonCpp& w, std::string& out, int r)
{
    writeResultOnly(w, out, 11, r);
}
void WebPacketBuilder::buildSetDateTimeRetPacket(Json::JsonCpp& w, std::string& out, int r)
{
    writeResultOnly(w, out, 12, r);
}
void WebPacketBuilder::buildClearEnergyRetPacket(Json::JsonCpp& w, std::string& out, int r)
{
    writeResultOnly(w, out, 13, r);
}
void WebPacketBuilder::buildRebootDeviceRetPacket(Json::JsonCpp& w, std::string& out, int r)
{
    writeResultOnly(w, out, 14, r);
}
void WebPacketBuilder::buildSetTempHumiThresholdRetPacket(Json::JsonCpp& w, std::string& out, int r)
{
    writeResultOnly(w, out, 15, r);
}
void WebPacketBuilder::buildSendEmailRetPacket(Json::JsonCpp& w, std::string& out, int r)
{
    writeResultOnly(w, out, 16, r);
}
void WebPacketBuilder::buildSetPingRetPacket(Json::JsonCpp& w, std::string& out, int r)
{
    writeResultOnly(w, out, 17, r);
}
void WebPacketBuilder::buildTestPingRetPacket(Json::JsonCpp& w, std::string& out, int r)
{
    writeResultOnly(w, out, 20, r);
}
void WebPacketBuilder::buildTestPingStatusRetPacket(Json::JsonCpp& w, std::string& out, int r)
{
    writeResultOnly(w, out, 21, r);
}
void WebPacketBuilder::buildUpdateScheduledTaskRetPacket(Json::JsonCpp& w, std::string& out, int r)
{
    writeResultOnly(w, out, 28, r);
}
void WebPacketBuilder::buildDeleteScheduledTaskRetPacket(Json::JsonCpp& w, std::string& out, int r)
{
    writeResultOnly(w, out, 29, r);
}
void WebPacketBuilder::buildSetNameRetPacket(Json::JsonCpp& w, std::string& out, int r)
{
    writeResultOnly(w, out, 30, r);
}
void WebPacketBuilder::buildSetNtpServerRetPacket(Json::JsonCpp& w, std::string& out, int r)
{
    writeResultOnly(w, out, 40, r);
}

// ---- Device list and device status ------------------------------------

void WebPacketBuilder::buildQueryDeviceListRetPacket(Json::JsonCpp& writer, std::string& out, int result,
                                                     const _Device& device)
{
    if (start(writer, 1, result))
    {
        writer.Key("content");
        writer.StartObject();
        writer.Key("devices");
        writer.StartArray();
        // This unit is 0 here, whatever its cascade address.
        writer.StartObject();
        writer.WriteKeyValue("addr", 0);
        writer.WriteKeyValue("port_num", static_cast<int>(device.portCount));
        writer.EndObject();
        for (const auto& entry : device.slaves)
        {
            if (!entry.second.valid)
                continue;
            writer.StartObject();
            writer.WriteKeyValue("addr", entry.first);
            writer.WriteKeyValue("port_num", static_cast<int>(entry.second.portCount));
            writer.EndObject();
        }
        writer.EndArray();
        writer.EndObject();
    }
    finish(writer, out);
}

void WebPacketBuilder::startBuildQueryDeviceStatusRetPacket(Json::JsonCpp& writer, int result)
{
    if (start(writer, 3, result))
    {
        writer.Key("content");
        writer.StartObject();
        writer.Key("data");
        writer.StartArray();
    }
}

void WebPacketBuilder::addBuildQueryDeviceStatusRetPacket(Json::JsonCpp& writer, int result,
                                                          const _DeviceStatusQuery& query,
                                                          const _DeviceStatus& status, int portCount)
{
    if (result != 0)
        return;
    writer.StartObject();
    writer.WriteKeyValue("addr", static_cast<int>(query.address));
    if (query.onOff)
    {
        writer.WriteKeyValue("on_off", static_cast<unsigned int>(status.onOffMask & 0xFFFFFFFFu));
        if (query.outputMask >> 32)
            writer.WriteKeyValue("on_off_high", static_cast<unsigned int>(status.onOffMask >> 32));
    }
    if (query.tempHum && status.environment.valid)
    {
        writeDecimal(writer, "temp", status.environment.temperature, kDegrees);
        writeDecimal(writer, "humi", status.environment.humidity, kPercent);
    }
    if (query.input)
    {
        writer.Key("input");
        writer.StartObject();
        writeDecimal(writer, "voltage", status.input.voltage, kVolts);
        writeDecimal(writer, "current", status.input.current, kAmperes);
        writeDecimal(writer, "power", status.input.power, kWatts);
        writeDecimal(writer, "factor", status.input.factor, kFactor);
        writeDecimal(writer, "energy", status.input.energy, kKwh);
        writer.EndObject();
    }
    if (query.outputMask)
    {
        writer.Key("output");
        writer.StartArray();
        // The outlet count comes from an identity text; the table is fixed.
        const int outlets = portCount < _DeviceStatus::kPortSlots ? portCount : _DeviceStatus::kPortSlots;
        for (int port = 0; port < outlets; ++port)
        {
            if (!((query.outputMask >> port) & 1u))
                continue;
            const _DeviceOutputStatus& output = status.outputs[static_cast<size_t>(port)];
            writer.StartObject();
            writer.WriteKeyValue("port", port);
            writeDecimal(writer, "voltage", output.voltage, kVolts);
            if ((status.onOffMask >> port) & 1u)
            {
                writeDecimal(writer, "current", output.current, kAmperes);
                writeDecimal(writer, "power", output.power, kWatts);
                writeDecimal(writer, "factor", output.factor, kFactor);
            }
            writeDecimal(writer, "energy", output.energy, kKwh);
            writer.EndObject();
        }
        writer.EndArray();
    }
    writer.EndObject();
}

void WebPacketBuilder::endBuildQueryDeviceStatusRetPacket(Json::JsonCpp& writer, int result, std::string& out)
{
    if (result == 0)
    {
        writer.EndArray();
        writer.EndObject();
    }
    finish(writer, out);
}
}
