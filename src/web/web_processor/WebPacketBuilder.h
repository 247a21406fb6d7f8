#pragma once
#include <map>
#include <string>
#include <vector>

#include "DeviceTypes.h"
#include "JsonCpp.h"
#include "web/web_processor/DeviceStatusQuery.h"

namespace web
{
// Writes every web answer: {"response":code,"result":result} and, for a
// query whose result is 0, its "content". Each writer replaces what the
// writer held and puts the compact text into out. The local processors and
// the master's handlers of relayed answers share them. No state.
class WebPacketBuilder
{
public:
    // Code 1: this unit, then every valid slave.
    static void buildQueryDeviceListRetPacket(Json::JsonCpp& writer, std::string& out, int result,
                                              const _Device& device);
    static void buildOperatePortRetPacket(Json::JsonCpp& writer, std::string& out, int result);
    // Code 3 in three steps: start, one add per unit answered, end.
    static void startBuildQueryDeviceStatusRetPacket(Json::JsonCpp& writer, int result);
    static void addBuildQueryDeviceStatusRetPacket(Json::JsonCpp& writer, int result, const _DeviceStatusQuery& query,
                                                   const _DeviceStatus& status, int portCount);
    static void endBuildQueryDeviceStatusRetPacket(Json::JsonCpp& writer, int result, std::string& out);

    static void buildSetOutputThresholdRetPacket(Json::JsonCpp& writer, std::string& out, int result);
    // The first count entries of list (none when count is 0 or less).
    static void buildQueryOutputThresholdRetPacket(Json::JsonCpp& writer, std::string& out, int result, int addr,
                                                   const _DeviceOutputThreshold* list, int count);
    static void buildSetInputThresholdRetPacket(Json::JsonCpp& writer, std::string& out, int result);
    static void buildQueryInputThresholdRetPacket(Json::JsonCpp& writer, std::string& out, int result, int addr,
                                                  const _DeviceInputThreshold& threshold);
    static void buildSetTempHumiThresholdRetPacket(Json::JsonCpp& writer, std::string& out, int result);
    static void buildQueryTempHumiThresholdRetPacket(Json::JsonCpp& writer, std::string& out, int result, int addr,
                                                     const _DeviceTempHumiThreshold& threshold);

    static void buildSetPortDelayRetPacket(Json::JsonCpp& writer, std::string& out, int result);
    // The first count entries of list (none when count is 0 or less).
    static void buildQueryPortDelayRetPacket(Json::JsonCpp& writer, std::string& out, int result, int addr,
                                             const _DevicePortDelay* list, int count);

    static void buildQueryScheduledTaskRetPacket(Json::JsonCpp& writer, std::string& out, int result, int addr,
                                                 const std::vector<_DeviceTask>& tasks);
    static void buildAddScheduledTaskRetPacket(Json::JsonCpp& writer, std::string& out, int result, int addr,
                                               unsigned int id);
    static void buildUpdateScheduledTaskRetPacket(Json::JsonCpp& writer, std::string& out, int result);
    static void buildDeleteScheduledTaskRetPacket(Json::JsonCpp& writer, std::string& out, int result);

    static void buildSetDateTimeRetPacket(Json::JsonCpp& writer, std::string& out, int result);
    static void buildClearEnergyRetPacket(Json::JsonCpp& writer, std::string& out, int result);
    static void buildRebootDeviceRetPacket(Json::JsonCpp& writer, std::string& out, int result);

    static void buildSetPingRetPacket(Json::JsonCpp& writer, std::string& out, int result);
    static void buildTestPingRetPacket(Json::JsonCpp& writer, std::string& out, int result);
    static void buildTestPingStatusRetPacket(Json::JsonCpp& writer, std::string& out, int result);
    static void buildQueryPingRetPacket(Json::JsonCpp& writer, std::string& out, int result, int addr,
                                        const std::vector<PingSetting>& settings);

    static void buildSendEmailRetPacket(Json::JsonCpp& writer, std::string& out, int result);

    static void buildSetNameRetPacket(Json::JsonCpp& writer, std::string& out, int result);
    // Key -1 the unit's name, keys from 0 the outlets' names.
    static void buildQueryNameRetPacket(Json::JsonCpp& writer, std::string& out, int result, int addr,
                                        const std::map<int, std::string>& names);
    static void buildQueryNtpServerRetPacket(Json::JsonCpp& writer, std::string& out, int result, int addr,
                                             const std::string& first, const std::string& second);
    static void buildSetNtpServerRetPacket(Json::JsonCpp& writer, std::string& out, int result);

private:
    // Decimal places of each quantity.
    static const int kVolts = 1;
    static const int kAmperes = 2;
    static const int kWatts = 1;
    static const int kFactor = 2;
    static const int kKwh = 2;
    static const int kDegrees = 1;
    static const int kPercent = 2;

    // Empties the writer and opens the answer; true when a query's
    // "content" follows (result 0).
    static bool start(Json::JsonCpp& writer, int code, int result);
    // Closes the answer and hands its text to out.
    static void finish(Json::JsonCpp& writer, std::string& out);
    static void writeResultOnly(Json::JsonCpp& writer, std::string& out, int code, int result);
    // A number cut after places decimals; a value that is no number is
    // written as the invalid value, so the answer stays JSON.
    static void writeDecimal(Json::JsonCpp& writer, const char* key, double value, int places);
    // A limit pair of a threshold record, when the record's mask selects it.
    static void writePair(Json::JsonCpp& writer, bool selected, const char* upperKey, double upper,
                          const char* lowerKey, double lower, int places);
    // "addr", then key opening an object ("{") or an array ("[").
    static void openContent(Json::JsonCpp& writer, int addr, const char* key, bool array);
    static void closeContent(Json::JsonCpp& writer, bool array);
};
}
