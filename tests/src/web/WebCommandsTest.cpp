// The web commands on an in-process server of a two-outlet master: exact
// answers and what lasts (pdu.db rows, the record as the queries show it),
// relays as their frames reach the cascade line, and the requests dropped.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "GlobalData.h"
#include "PduServer.h"
#include "SerialPort.h"
#include "cascade/processor/CascadeCtrlRelay.h"
#include "muduo/net/EventLoop.h"
#include "platform/pmemu/PmPty.h"
#include "support/LogCapture.h"
#include "support/LoopUntil.h"
#include "support/RecordLimits.h"
#include "support/ServerBoard.h"
#include "support/TestDatabases.h"
#include "support/TestFrames.h"
#include "web/web_processor/WebProcessor.h"

namespace
{
class WebCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        sql("update settings set value='G070300000000001' where name='hard_id'");  // two outlets
        server_ = &board_.build();
        _Device& device = GlobalData::getDevice();
        device.slaves[2] = slave(48, "S2");
        device.slaves[2].inputThreshold = {0x01, 230, 200, 1, 1, 1, 1};
        device.slaves[3] = slave(8, "S3");
        device.slaves[4] = slave(8, "S4");
        device.slaves[4].valid = false;  // not answered yet
    }
    static _SlaveDevice slave(int outlets, const std::string& name)
    {
        _SlaveDevice s;
        s.valid = true;
        s.portCount = outlets;
        s.deviceName = name;
        s.portNames[7] = "s7";
        s.status.input = {231.25, 1.5, 300.25, 0.875, 10.5};
        return s;
    }
    static void sql(const std::string& statement) { test::execSql(test::boardDatabase("pdu.db"), statement); }
    static std::string row(const std::string& query) { return test::queryText(test::boardDatabase("pdu.db"), query); }

    // The answer, "relay" or "none".
    std::string ask(const std::string& request, std::shared_ptr<web::WebProcessor>* kept = nullptr)
    {
        std::shared_ptr<web::WebProcessor> processor;
        const int result = server_->requestPaths().parseWeb(request, processor);
        if (kept)
            *kept = processor;
        if (result != 1)
            return result == 2 && processor && processor->relay() ? "relay" : "none";
        std::string answer;
        processor->process(answer);
        return answer;
    }
    // "address: payload" of the frame the request's relay writes on the line.
    std::string relayed(const std::string& request)
    {
        std::shared_ptr<web::WebProcessor> processor;
        if (ask(request, &processor) != "relay")
            return "not relayed";
        const auto& relay = processor->relay();
        if (relay->type() != kCascadeRelayWeb)
            return "not a web relay";
        relay->setSerialPort(server_->getCascadeSerialPort());
        relay->transferRemote();
        const int line = board_.cascadeLine().masterFd();
        ::fcntl(line, F_SETFL, ::fcntl(line, F_GETFL) | O_NONBLOCK);
        test::Bytes got, payload;
        uint8_t address = 0;
        uint16_t sequence = 0;
        test::loopUntil(
            board_.loop(),
            [&] {
                unsigned char chunk[256];
                const ssize_t n = ::read(line, chunk, sizeof chunk);
                if (n > 0)
                    got.insert(got.end(), chunk, chunk + n);
                return test::decodeCascadeFrame(got, address, sequence, payload);
            },
            2.0);
        if (!test::decodeCascadeFrame(got, address, sequence, payload) || sequence != relay->sequence())
            return "no frame";
        return std::to_string(address) + ": " + test::hexBytes(std::string(payload.begin(), payload.end()));
    }

    test::ServerBoard board_;
    PduServer* server_ = nullptr;
};

const std::string kLimits =
    R"({"port":0,"warn_upper_current":10.0,"warn_lower_current":0.0,"off_upper_current":16.0,"off_lower_current":0.0})";
}

TEST_F(WebCommandsTest, LocalCommandsAnswerAndLast)
{
    struct Case
    {
        const char* before;  // SQL run first, or ""
        std::string request, answer;
        const char* query;  // a pdu.db value afterwards, or ""
        const char* value;
    };
    const std::string port1 = std::string(kLimits).replace(8, 1, "1");  // {"port":1,...
    const Case cases[] = {
        {"", R"({"request":22,"content":{}})",
         R"({"response":22,"result":0,"content":{"addr":0,"threshold":[)" + kLimits + "," + port1 + "]}}", "", ""},
        // Outlet 7 is no outlet of this unit: nothing is saved.
        {"",
         R"({"request":4,"content":{"threshold":[{"port":1,"warn_upper_current":5},{"port":7,"warn_upper_current":3}]}})",
         R"({"response":4,"result":-1})", "select group_concat(current_max) from alarms where port in (1, 7)",
         "10.0,10.0"},
        // "1" is no number; later entries win.
        {"",
         R"({"request":4,"content":{"threshold":[{"port":1,"warn_upper_current":5,"warn_lower_current":"1"},)"
         R"({"port":1,"off_lower_current":0.259}]}})",
         R"({"response":4,"result":0})", "select group_concat(current_max || '/' || outage_min) from alarms "
                                         "where port in (1, 7)", "5.0/0.259,10.0/0.0"},
        {"", R"({"request":22,"content":{"addr":0}})",
         R"({"response":22,"result":0,"content":{"addr":0,"threshold":[)" + kLimits +
             R"(,{"port":1,"warn_upper_current":5.0,"warn_lower_current":0.0,"off_upper_current":16.0,)"
             R"("off_lower_current":0.25}]}})", "", ""},
        {"delete from alarms where port=0", R"({"request":4,"content":{"threshold":[{"port":0,"off_upper_current":1}]}})",
         R"({"response":4,"result":-1})", "", ""},
        // The switch-off pair of this unit stays; a pair given by half is not taken.
        {"", R"({"request":5,"content":{"threshold":{"warn_upper_voltage":240,"warn_lower_voltage":200.56,)"
             R"("off_upper_current":30,"off_lower_current":1,"warn_upper_current":9}}})",
         R"({"response":5,"result":0})", "select voltage_max || '/' || voltage_min || '/' || outage_max || '/' || "
                                         "current_max from alarms where port is null", "240.0/200.56/20.0/16.0"},
        {"", R"({"request":23,"content":{}})",
         R"({"response":23,"result":0,"content":{"addr":0,"threshold":{"warn_upper_current":16.0,)"
         R"("warn_lower_current":0.0,"warn_upper_voltage":240.0,"warn_lower_voltage":200.5,)"
         R"("off_upper_current":20.0,"off_lower_current":0.0}}})", "", ""},
        {"",
         R"({"request":15,"content":{"threshold":{"warn_upper_temp":45.56,"warn_lower_temp":-10,)"
         R"("warn_upper_humi":80}}})",
         R"({"response":15,"result":0})", "select temperature_max || '/' || temperature_min || '/' || humidity_max "
                                          "from alarms where port is null", "45.56/-10.0/90.0"},
        {"", R"({"request":25,"content":{}})",
         R"({"response":25,"result":0,"content":{"addr":0,"threshold":{"warn_upper_temp":45.5,"warn_lower_temp":-10.0,)"
         R"("warn_upper_humi":90.0,"warn_lower_humi":0.0}}})", "", ""},
        {"delete from alarms where port is null",
         R"({"request":15,"content":{"threshold":{"warn_upper_temp":1,"warn_lower_temp":0}}})",
         R"({"response":15,"result":-1})", "", ""},
        {"", R"({"request":5,"content":{"threshold":{"warn_upper_voltage":1,"warn_lower_voltage":0}}})",
         R"({"response":5,"result":-1})", "", ""},
        // -1 keeps a delay; "2" and 7.5 are no integers.
        {"update delays set off=4 where port=0",
         R"({"request":11,"content":{"delay":[{"port":0,"on":3,"off":"2"},{"port":1,"restart":7.5}]}})",
         R"({"response":11,"result":0})", R"(select group_concat("on" || '/' || off) from delays where port in (0, 5))",
         "3/4,0/0"},
        // 5 is no outlet here: nothing is saved.
        {"", R"({"request":11,"content":{"delay":[{"port":0,"on":9},{"port":5,"on":1}]}})", R"({"response":11,"result":-1})",
         R"(select group_concat("on" || '/' || off) from delays where port in (0, 5))", "3/4,0/0"},
        {"", R"({"request":24,"content":{}})",
         R"({"response":24,"result":0,"content":{"addr":0,"delay":[{"port":0,"on":3,"off":0,"restart":5},)"
         R"({"port":1,"on":0,"off":0,"restart":5}]}})", "", ""},
        // No outlet number reaches the unit's name (key -1); outlet 6 is not here.
        {"",
         R"({"request":30,"content":{"device_name":"Rack","port_names":[{"port":1,"name":"Fan"},{"port":1,"name":"Pump"},)"
         R"({"port":-1,"name":"X"},{"port":6,"name":"Far"}]}})",
         R"({"response":30,"result":0})", "select name || '/' || port_1 || '/' || port_6 from pdu_names",
         "Rack/Pump/Outlet7"},
        {"", R"({"request":30,"content":{"device_name":"","port_names":[{"port":-1,"name":"X"}]}})",
         R"({"response":30,"result":-1})", "select name from pdu_names", "Rack"},
        {"", R"({"request":31,"content":{"device":true,"ports":[1,0,1,9]}})",
         R"({"response":31,"result":0,"content":{"addr":0,"device_name":"Rack","port_names":[{"port":0,"name":"Outlet1"},)"
         R"({"port":1,"name":"Pump"}]}})", "", ""},
        {"", R"({"request":31,"content":{"addr":3,"device":1,"ports":[7,8]}})",
         R"({"response":31,"result":0,"content":{"addr":3,"port_names":[{"port":7,"name":"s7"}]}})", "", ""},
        {"", R"({"request":31,"content":{"addr":4}})", R"({"response":31,"result":-1})", "", ""},
        {"", R"({"request":23,"content":{"addr":2}})",
         R"({"response":23,"result":0,"content":{"addr":2,"threshold":{"warn_upper_voltage":230.0,)"
         R"("warn_lower_voltage":200.0}}})",
         "", ""},
        {"", R"({"request":23,"content":{"addr":9}})", R"({"response":23,"result":-1})", "", ""},
        {"", R"({"request":40,"content":{"master_ntp_server":"pool.example","slave_ntp_server":"10.0.0.1"}})",
         R"({"response":40,"result":0})", "select value from settings where name='second_ntp_server_ip'", "10.0.0.1"},
        {"delete from settings where name='ntp_server_ip'",
         R"({"request":40,"content":{"master_ntp_server":"a","slave_ntp_server":"b"}})", R"({"response":40,"result":-1})",
         "select value from settings where name='second_ntp_server_ip'", "10.0.0.1"},
        {"", R"({"request":39,"content":{"addr":5}})",
         R"({"response":39,"result":0,"content":{"addr":0,"master_ntp_server":"pool.example",)"
         R"("slave_ntp_server":"10.0.0.1"}})",
         "", ""},
    };
    for (const Case& c : cases)
    {
        if (*c.before)
            sql(c.before);
        EXPECT_EQ(c.answer, ask(c.request)) << c.request;
        if (*c.query)
        {
            EXPECT_EQ(c.value, row(c.query)) << c.request;
        }
    }
    EXPECT_EQ(0u, GlobalData::getDevice().slaves.count(9));  // asked for, never made up

    // A record that selects no pair still answers one JSON object.
    GlobalData::getDevice().tempHumiThreshold.mask = 0;
    EXPECT_EQ(R"({"response":25,"result":0,"content":{"addr":0,"threshold":{}}})", ask(R"({"request":25,"content":{}})"));
}

TEST_F(WebCommandsTest, LimitsAndDelaysNamingAnOutletTheUnitLacksAreRefusedWhole)
{
    GlobalData::getDevice().portCount = 8;
    const char* const stored = R"(select group_concat(current_max || '/' || outage_min || '/' || "on" || '/' || off) )"
                               "from alarms join delays using (addr, port) where addr=0 and port in (0, 1)";
    const std::pair<std::string, std::string> cases[] = {
        {R"({"request":4,"content":{"threshold":[{"port":0,"warn_upper_current":5},{"port":9,"off_lower_current":1}]}})",
         R"({"response":4,"result":-1})"},
        {R"({"request":4,"content":{"threshold":[{"port":0,"warn_upper_current":5},{"port":9}]}})",
         R"({"response":4,"result":-1})"},
        {R"({"request":11,"content":{"delay":[{"port":0,"on":5},{"port":9,"off":1}]}})", R"({"response":11,"result":-1})"},
        {R"({"request":11,"content":{"delay":[{"port":9}]}})", R"({"response":11,"result":-1})"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.second, ask(c.first)) << c.first;
        EXPECT_EQ("10.0/0.0/0/0,10.0/0.0/0/0", row(stored)) << c.first;
    }
    EXPECT_DOUBLE_EQ(10, GlobalData::getDevice().outputThresholds[0].warnUpperCurrent);
    EXPECT_EQ(0, GlobalData::getDevice().portDelays[0].onDelay);
    // An entry that changes nothing is skipped.
    EXPECT_EQ(R"({"response":4,"result":0})",
              ask(R"({"request":4,"content":{"threshold":[{"port":1},{"port":0,"off_lower_current":1}]}})"));
    EXPECT_EQ(R"({"response":11,"result":0})", ask(R"({"request":11,"content":{"delay":[{"port":0,"on":5},{"port":1}]}})"));
    EXPECT_EQ("10.0/1.0/5/0,10.0/0.0/0/0", row(stored));
}

TEST_F(WebCommandsTest, EachLimitKeyChangesItsOwnLimitOnly)
{
    // The pair of a key is sent at its stored value: only the key's limit changes.
    const struct
    {
        int code;
        const char *key, *pairKey, *limit, *pairLimit;
    } keys[] = {
        {5, "warn_upper_voltage", "warn_lower_voltage", "inlet warn upper voltage", "inlet warn lower voltage"},
        {5, "warn_lower_voltage", "warn_upper_voltage", "inlet warn lower voltage", "inlet warn upper voltage"},
        {5, "warn_upper_current", "warn_lower_current", "inlet warn upper current", "inlet warn lower current"},
        {5, "warn_lower_current", "warn_upper_current", "inlet warn lower current", "inlet warn upper current"},
        {15, "warn_upper_temp", "warn_lower_temp", "upper temperature", "lower temperature"},
        {15, "warn_lower_temp", "warn_upper_temp", "lower temperature", "upper temperature"},
        {15, "warn_upper_humi", "warn_lower_humi", "upper humidity", "lower humidity"},
        {15, "warn_lower_humi", "warn_upper_humi", "lower humidity", "upper humidity"},
        {4, "warn_upper_current", nullptr, "outlet 1 warn upper", nullptr},
        {4, "warn_lower_current", nullptr, "outlet 1 warn lower", nullptr},
        {4, "off_upper_current", nullptr, "outlet 1 off upper", nullptr},
        {4, "off_lower_current", nullptr, "outlet 1 off lower", nullptr},
    };
    double value = 50.25;
    for (const auto& k : keys)
    {
        value += 1.5;
        const test::RecordLimits before = test::recordLimits();
        const std::string set = "\"" + std::string(k.key) + "\":" + test::limitText(value);
        const std::string code = std::to_string(k.code);
        const std::string request =
            k.pairKey ? R"({"request":)" + code + R"(,"content":{"threshold":{)" + set + ",\"" + k.pairKey + "\":" +
                            test::limitText(test::limitOf(before, k.pairLimit)) + "}}}"
                      : R"({"request":4,"content":{"threshold":[{"port":1,)" + set + "}]}}";
        EXPECT_EQ(R"({"response":)" + code + R"(,"result":0})", ask(request)) << request;
        EXPECT_EQ(test::listed(test::withLimit(before, k.limit, value)), test::listed(test::recordLimits()))
            << request;
    }
}

TEST_F(WebCommandsTest, StatusListsThisUnitAndAnsweredSlavesAsAsked)
{
    _Device& device = GlobalData::getDevice();
    device.status.onOffMask = 0x1;
    device.status.outputs[0] = {0, 0, 230.06, 1.239, 280.55, 0.999, 12.345};
    device.status.outputs[1] = {1, 0, 229.94, 9, 9, 9, 3.5};
    device.status.environment = {true, 23.456, 45.678};
    const std::string request = R"({"request":3,"content":{"query":[{"addr":0,"on_off":true,"temp_hum":true,)"
                                R"("output":3,"output_high":1},{"addr":3,"on_off":1,"input":true,"output_high":1},)"
                                R"({"addr":4,"input":true},{"addr":9,"input":true},{"addr":"x"}]}})";
    EXPECT_EQ(R"({"response":3,"result":0,"content":{"data":[{"addr":0,"on_off":1,"on_off_high":0,"temp":23.4,)"
              R"("humi":45.67,"output":[{"port":0,"voltage":230.0,"current":1.23,"power":280.5,"factor":0.99,)"
              R"("energy":12.34},{"port":1,"voltage":229.9,"energy":3.5}]},{"addr":3,"input":{"voltage":231.2,)"
              R"("current":1.5,"power":300.2,"factor":0.87,"energy":10.5}},{"addr":0}]}})",
              ask(request));
    EXPECT_EQ(0u, device.slaves.count(9));
    EXPECT_EQ(R"({"response":3,"result":0,"content":{"data":[]}})", ask(R"({"request":3,"content":{"query":[]}})"));
}

TEST_F(WebCommandsTest, RequestsForAKnownSlaveReachTheCascadeLine)
{
    const std::string name16 = "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
    const char* const cases[][2] = {
        {R"({"request":2,"content":{"addr":2,"ports":[0,40,64,-1],"action":1}})", "2: 20 00 00 01 00 00 00 00 01 01"},
        {R"({"request":2,"content":{"addr":3,"ports":[0,40],"action":0}})", "3: 02 00 00 00 01 00"},
        {R"({"request":4,"content":{"addr":3,"threshold":[{"port":1,"warn_upper_current":5,"off_lower_current":0.5}]}})",
         "3: 09 00 00 00 02 01 F4 FF FF FF FF 00 32"},
        {R"({"request":4,"content":{"addr":2,"threshold":[{"port":33}]}})",
         "2: 24 00 00 00 02 00 00 00 00 FF FF FF FF FF FF FF FF"},
        // Unknown to the record is not unknown to the map: slave 4 gets it,
        // its switch-off pair included.
        {R"({"request":5,"content":{"addr":4,"threshold":{"off_upper_current":20,"off_lower_current":1,)"
         R"("warn_upper_voltage":250}}})", "4: 0B 04 07 D0 00 64"},
        {R"({"request":11,"content":{"addr":2,"delay":[{"port":33,"on":5}]}})",
         "2: 25 00 00 00 02 00 00 00 00 00 05 FF FF FF FF"},
        {R"({"request":11,"content":{"addr":3,"delay":[{"port":1,"off":2,"restart":-1}]}})",
         "3: 0F 00 00 00 02 FF FF 00 02 FF FF"},
        {R"({"request":15,"content":{"addr":3,"threshold":{"warn_upper_temp":40.5,"warn_lower_temp":-5,)"
         R"("warn_upper_humi":"90"}}})", "3: 0D 01 01 95 FF CE"},
        {R"({"request":22,"content":{"addr":3}})", "3: 08"},
        {R"({"request":24,"content":{"addr":2}})", "2: 0E"},
        {R"({"request":25,"content":{"addr":3}})", "3: 0C 03"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c[1], relayed(c[0])) << c[0];
    EXPECT_EQ("3: 04 80 00 00 08 42 " + name16 + " 52 " + name16,
              relayed(R"({"request":30,"content":{"addr":3,"device_name":"R","port_names":[{"port":3,"name":"B"}]}})"));
    EXPECT_EQ("2: 22 00 00 01 00 00 00 00 00 57 " + name16,
              relayed(R"({"request":30,"content":{"addr":2,"port_names":[{"port":40,"name":"W"}]}})"));
}

TEST_F(WebCommandsTest, MalformedOrUnrelayableRequestsGetNoAnswer)
{
    const char* const dropped[] = {
        // Any relaying command: a slave the map lacks, or "addr" out of range or of another type.
        R"({"request":2,"content":{"addr":9,"ports":[0],"action":1}})",
        R"({"request":4,"content":{"addr":9,"threshold":[]}})",
        R"({"request":5,"content":{"addr":9,"threshold":{}}})", R"({"request":11,"content":{"addr":9,"delay":[]}})",
        R"({"request":15,"content":{"addr":9,"threshold":{}}})", R"({"request":22,"content":{"addr":9}})",
        R"({"request":24,"content":{"addr":9}})", R"({"request":25,"content":{"addr":9}})",
        R"({"request":30,"content":{"addr":9}})", R"({"request":2,"content":{"addr":258,"ports":[0],"action":1}})",
        R"({"request":22,"content":{"addr":"3"}})", R"({"request":23,"content":{"addr":1.0}})",
        R"({"request":39,"content":{"addr":"0"}})", R"({"request":24})", R"({"request":31,"content":[]})",
        // Outlet switching and status.
        R"({"request":2,"content":{"ports":[0]}})", R"({"request":2,"content":{"ports":0,"action":1}})",
        R"({"request":2,"content":{"ports":[1.5],"action":1}})", R"({"request":2,"content":{"ports":[],"action":"1"}})",
        R"({"request":3,"content":{}})", R"({"request":3,"content":{"query":{}}})",
        R"({"request":3,"content":{"query":[1]}})",
        // Limit and delay lists.
        R"({"request":4,"content":{"threshold":{}}})", R"({"request":4,"content":{"threshold":[5]}})",
        R"({"request":4,"content":{"threshold":[{"port":1.0}]}})", R"({"request":11,"content":{"delay":[{"on":1}]}})",
        R"({"request":11,"content":{"delay":[{"port":2.5}]}})", R"({"request":5,"content":{}})",
        R"({"request":15,"content":{"threshold":[]}})",
        // Names and NTP servers.
        R"({"request":30,"content":{"device_name":5}})", R"({"request":30,"content":{"port_names":{}}})",
        R"({"request":30,"content":{"port_names":[{"port":1}]}})", R"({"request":30,"content":{"port_names":[1]}})",
        R"({"request":31,"content":{"ports":[-1]}})", R"({"request":31,"content":{"ports":"1"}})",
        R"({"request":40,"content":{"master_ntp_server":"a"}})",
        R"({"request":40,"content":{"master_ntp_server":5,"slave_ntp_server":"b"}})",
    };
    test::LogCapture log;
    for (const char* request : dropped)
        EXPECT_EQ("none", ask(request)) << request;
    EXPECT_EQ(9, log.count("no slave with addr:9"));
    EXPECT_EQ(0u, GlobalData::getDevice().slaves.count(9));
    GlobalData::getDevice().isMaster = false;
    EXPECT_EQ("none", ask(R"({"request":22,"content":{"addr":3}})"));
    EXPECT_EQ(R"({"response":31,"result":-1})", ask(R"({"request":31,"content":{"addr":3}})"));
    EXPECT_TRUE(log.contains("not the master, request for addr:3 dropped"));
}

TEST_F(WebCommandsTest, DelaysASlaveCannotBeSentAreAnsweredAsFailed)
{
    const char* const refused[][2] = {
        // Delays the cascade line cannot carry (there 0xFFFF stands for -1, "unchanged").
        {R"({"request":11,"content":{"addr":3,"delay":[{"port":1,"restart":65535}]}})", R"({"response":11,"result":-1})"},
        {R"({"request":11,"content":{"addr":3,"delay":[{"port":0,"on":1},{"port":1,"off":70000}]}})",
         R"({"response":11,"result":-1})"},
        {R"({"request":11,"content":{"addr":2,"delay":[{"port":33,"on":-2}]}})", R"({"response":11,"result":-1})"},
    };
    for (const auto& c : refused)
    {
        EXPECT_EQ(c[1], ask(c[0])) << c[0];
        EXPECT_EQ("not relayed", relayed(c[0])) << c[0];
    }
}
