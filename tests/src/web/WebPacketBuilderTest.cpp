// Every web answer writer, argument to exact text, on one reused writer.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "web/web_processor/WebPacketBuilder.h"

namespace
{
using B = web::WebPacketBuilder;
typedef void (*ResultOnly)(Json::JsonCpp&, std::string&, int);
const double kInvalid = 2147483648.0;

struct Case
{
    const char* name;
    std::function<void(Json::JsonCpp&, std::string&)> write;
    std::string expected;
};

_DeviceStatus status()
{
    _DeviceStatus s;
    s.onOffMask = 0x100000001ull;  // outlets 0 and 32 on
    s.environment = {true, 23.456, 45.678};
    s.input = {230.06, 1.239, 284.97, 0.999, 12345.678};
    s.outputs[0] = {0, 0, 229.99, 0.5, 114.9, 0.98, 1.005};
    s.outputs[2] = {2, 0, 230.0, 9.9, 9.9, 9.9, 0};
    s.outputs[32] = {32, 0, kInvalid, 1, 2, 0.5, NAN};
    return s;
}

std::string statusAnswer(int result, int portCount, std::vector<_DeviceStatusQuery> queries)
{
    Json::JsonCpp writer;
    std::string out;
    B::startBuildQueryDeviceStatusRetPacket(writer, result);
    for (const _DeviceStatusQuery& q : queries)
        B::addBuildQueryDeviceStatusRetPacket(writer, result, q, status(), portCount);
    B::endBuildQueryDeviceStatusRetPacket(writer, result, out);
    return out;
}

// A two-byte character across byte 16 of the remark.
const _DeviceTask kTask{9, (1ull << 40) | 5, 2, 2024, 5, 1, 0, 30, 0, 0x41, "fifteen bytes..\xC3\xA9 more"};

const _DeviceOutputThreshold kOutputLimits[] = {{0, 12.349, 5, kInvalid, 0.001}, {1, -1.5, 0, 0, 0}};
const _DevicePortDelay kDelays[] = {{0, 5, -1, 0}, {7, 0, 30, 65535}};
}

TEST(WebPacketBuilderTest, EveryWriterWritesItsExactAnswer)
{
    const std::pair<ResultOnly, int> resultOnly[] = {
        {&B::buildOperatePortRetPacket, 2}, {&B::buildSetOutputThresholdRetPacket, 4},
        {&B::buildSetInputThresholdRetPacket, 5}, {&B::buildSetPortDelayRetPacket, 11},
        {&B::buildSetDateTimeRetPacket, 12}, {&B::buildClearEnergyRetPacket, 13}, {&B::buildRebootDeviceRetPacket, 14},
        {&B::buildSetTempHumiThresholdRetPacket, 15}, {&B::buildSendEmailRetPacket, 16}, {&B::buildSetPingRetPacket, 17},
        {&B::buildTestPingRetPacket, 20}, {&B::buildTestPingStatusRetPacket, 21},
        {&B::buildUpdateScheduledTaskRetPacket, 28}, {&B::buildDeleteScheduledTaskRetPacket, 29},
        {&B::buildSetNameRetPacket, 30}, {&B::buildSetNtpServerRetPacket, 40}};
    std::vector<Case> cases;
    for (const auto& writer : resultOnly)
        for (int r : {0, -1})
            cases.push_back({"result only", [=](Json::JsonCpp& w, std::string& o) { writer.first(w, o, r); },
                             "{\"response\":" + std::to_string(writer.second) + ",\"result\":" + std::to_string(r) + "}"});
    const std::map<int, std::string> names{{3, "Rack \"A\""}, {-1, "PDU"}, {0, ""}};
    const PingSetting ping{2, 0xC0A80001, 30, 3, 0, 1};
    cases.insert(cases.end(), {
        {"device list failed", [](Json::JsonCpp& w, std::string& o) { B::buildQueryDeviceListRetPacket(w, o, 1, _Device()); },
         R"({"response":1,"result":1})"},
        {"output limits", [](Json::JsonCpp& w, std::string& o) { B::buildQueryOutputThresholdRetPacket(w, o, 0, 3, kOutputLimits, 2); },
         R"({"response":22,"result":0,"content":{"addr":3,"threshold":[{"port":0,"warn_upper_current":12.34,"warn_lower_current":5.0,"off_upper_current":2147483648.0,"off_lower_current":0.0},{"port":1,"warn_upper_current":-1.5,"warn_lower_current":0.0,"off_upper_current":0.0,"off_lower_current":0.0}]}})"},
        {"output limits none", [](Json::JsonCpp& w, std::string& o) { B::buildQueryOutputThresholdRetPacket(w, o, 0, 0, kOutputLimits, -1); },
         R"({"response":22,"result":0,"content":{"addr":0,"threshold":[]}})"},
        {"input limits", [](Json::JsonCpp& w, std::string& o) { B::buildQueryInputThresholdRetPacket(w, o, 0, 2, {7, 230, 190.06, 16.789, 0.5, 20, 0}); },
         R"({"response":23,"result":0,"content":{"addr":2,"threshold":{"warn_upper_current":16.78,"warn_lower_current":0.5,"warn_upper_voltage":230.0,"warn_lower_voltage":190.0,"off_upper_current":20.0,"off_lower_current":0.0}}})"},
        {"input limits no pair", [](Json::JsonCpp& w, std::string& o) { B::buildQueryInputThresholdRetPacket(w, o, 0, 0, {0, 1, 1, 1, 1, 1, 1}); },
         R"({"response":23,"result":0,"content":{"addr":0,"threshold":{}}})"},
        {"temperature limits", [](Json::JsonCpp& w, std::string& o) { B::buildQueryTempHumiThresholdRetPacket(w, o, 0, 0, {3, 23.456, -5.05, 80.999, 10}); },
         R"({"response":25,"result":0,"content":{"addr":0,"threshold":{"warn_upper_temp":23.4,"warn_lower_temp":-5.0,"warn_upper_humi":80.99,"warn_lower_humi":10.0}}})"},
        {"temperature limits no pair", [](Json::JsonCpp& w, std::string& o) { B::buildQueryTempHumiThresholdRetPacket(w, o, 0, 4, {0, 1, 1, 1, 1}); },
         R"({"response":25,"result":0,"content":{"addr":4,"threshold":{}}})"},
        {"delays", [](Json::JsonCpp& w, std::string& o) { B::buildQueryPortDelayRetPacket(w, o, 0, 0, kDelays, 2); },
         R"({"response":24,"result":0,"content":{"addr":0,"delay":[{"port":0,"on":5,"off":-1,"restart":0},{"port":7,"on":0,"off":30,"restart":65535}]}})"},
        {"tasks", [](Json::JsonCpp& w, std::string& o) { B::buildQueryScheduledTaskRetPacket(w, o, 0, 6, {kTask}); },
         R"({"response":26,"result":0,"content":{"addr":6,"tasks":[{"id":9,"ports":[0,2,40],"action":2,"time":{"year":2024,"month":5,"day":1,"hour":0,"minute":30,"second":0},"repeat":65,"remark":"fifteen bytes.."}]}})"},
        {"no tasks", [](Json::JsonCpp& w, std::string& o) { B::buildQueryScheduledTaskRetPacket(w, o, 0, 0, {}); },
         R"({"response":26,"result":0,"content":{"addr":0,"tasks":[]}})"},
        {"task added", [](Json::JsonCpp& w, std::string& o) { B::buildAddScheduledTaskRetPacket(w, o, 0, 0, 4000000000u); },
         R"({"response":27,"result":0,"content":{"addr":0,"id":4000000000}})"},
        {"task not added", [](Json::JsonCpp& w, std::string& o) { B::buildAddScheduledTaskRetPacket(w, o, -1, 0, 5); },
         R"({"response":27,"result":-1})"},
        {"ping settings", [=](Json::JsonCpp& w, std::string& o) { B::buildQueryPingRetPacket(w, o, 0, 0, {ping}); },
         R"({"response":38,"result":0,"content":{"addr":0,"sets":[{"port":2,"ip":"192.168.0.1","interval":30,"timeout":3,"action":0,"enabled":1}]}})"},
        {"names", [=](Json::JsonCpp& w, std::string& o) { B::buildQueryNameRetPacket(w, o, 0, 1, names); },
         R"({"response":31,"result":0,"content":{"addr":1,"device_name":"PDU","port_names":[{"port":0,"name":""},{"port":3,"name":"Rack \"A\""}]}})"},
        {"outlet names only", [](Json::JsonCpp& w, std::string& o) { B::buildQueryNameRetPacket(w, o, 0, 0, {}); },
         R"({"response":31,"result":0,"content":{"addr":0,"port_names":[]}})"},
        {"names failed", [=](Json::JsonCpp& w, std::string& o) { B::buildQueryNameRetPacket(w, o, -1, 1, names); },
         R"({"response":31,"result":-1})"},
        {"ntp servers", [](Json::JsonCpp& w, std::string& o) { B::buildQueryNtpServerRetPacket(w, o, 0, 0, "pool.ntp.org", "10.0.0.1"); },
         R"({"response":39,"result":0,"content":{"addr":0,"master_ntp_server":"pool.ntp.org","slave_ntp_server":"10.0.0.1"}})"},
    });
    Json::JsonCpp writer;  // each answer replaces the last one
    for (const Case& c : cases)
    {
        std::string out = "stale";
        c.write(writer, out);
        EXPECT_EQ(c.expected, out) << c.name;
    }
}

TEST(WebPacketBuilderTest, DeviceStatusWritesOnlyWhatEachQueryAsks)
{
    _DeviceStatusQuery everything{0, 1, 1, 1, 0x100000005ull};
    _DeviceStatusQuery onOffOnly{4, 1, 0, 0, 0};
    EXPECT_EQ(R"({"response":3,"result":0,"content":{"data":[{"addr":0,"on_off":1,"on_off_high":1,"temp":23.4,"humi":45.67,)"
              R"("input":{"voltage":230.0,"current":1.23,"power":284.9,"factor":0.99,"energy":12345.67},"output":[)"
              R"({"port":0,"voltage":229.9,"current":0.5,"power":114.9,"factor":0.98,"energy":1.0},)"
              R"({"port":2,"voltage":230.0,"energy":0.0},)"
              R"({"port":32,"voltage":2147483648.0,"current":1.0,"power":2.0,"factor":0.5,"energy":2147483648.0}]},)"
              R"({"addr":4,"on_off":1}]}})",
              statusAnswer(0, 48, {everything, onOffOnly}));
    // Outlets past the unit's count, or past the table whatever the count says, are left out.
    EXPECT_EQ(R"({"response":3,"result":0,"content":{"data":[{"addr":0,"output":[{"port":0,"voltage":229.9,)"
              R"("current":0.5,"power":114.9,"factor":0.98,"energy":1.0}]}]}})",
              statusAnswer(0, 1, {{0, 0, 0, 0, 0x100000001ull}}));
    const std::string wide = statusAnswer(0, 1000, {{0, 0, 0, 0, ~0ull}});
    EXPECT_TRUE(wide.find("\"port\":59,") != std::string::npos && wide.find("\"port\":60,") == std::string::npos);
    EXPECT_EQ(R"({"response":3,"result":0,"content":{"data":[]}})", statusAnswer(0, 8, {}));
    EXPECT_EQ(R"({"response":3,"result":-1})", statusAnswer(-1, 8, {everything}));
}
