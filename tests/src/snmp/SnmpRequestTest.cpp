// The SNMP agent's requests on an in-process server over the power-module emulator: each code's answer and
// what it leaves in pdu.db, the record and the relays; malformed requests; eth0 in a network namespace.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "GlobalData.h"
#include "PduServer.h"
#include "PowerModuleContainer.h"
#include "platform/pmemu/PowerModuleEmulator.h"
#include "snmp/processor/SnmpProcessor.h"
#include "snmp/processor/SnmpProcessorFactory.h"
#include "support/NetNamespace.h"
#include "support/RecordLimits.h"
#include "support/ServerBoard.h"
#include "support/TestDatabases.h"

namespace
{
std::string ask(snmp::SnmpProcessorFactory& factory, const std::string& request)
{
    std::string answer = "error";
    if (std::shared_ptr<snmp::SnmpProcessor> processor = factory.parseSnmpProcessor(request))
        processor->process(answer);
    return answer;
}

std::string pdu(const std::string& query) { return test::queryText(test::boardDatabase("pdu.db"), query); }

class SnmpRequestTest : public ::testing::Test
{
protected:
    std::string ask(const std::string& request)
    {
        std::string answer = "error";
        if (std::shared_ptr<snmp::SnmpProcessor> processor = server_.requestPaths().parseSnmp(request))
            processor->process(answer);
        return answer;
    }
    bool relaysBecome(uint8_t bits, double seconds)
    {
        return board_.runUntil([&] { return board_.emulator().relayBits() == bits; }, seconds);
    }

    test::ServerBoard board_;
    PduServer& server_ = board_.build();
};

struct Exchange
{
    const char* before;  // SQL run first, or ""
    int code;
    const char* content;
    const char* answer;  // the content answered with result 0 ("" none); null: result 1
    const char* query = nullptr;  // checked in pdu.db afterwards
    const char* row = nullptr;
};

const char* const kAlarmRow = "select current_max||'|'||voltage_max||'|'||temperature_min||'|'||humidity_max "
                              "from alarms where addr=0 and port is null";
const char* const kName = "select name from pdu_names where addr=0";
}

TEST(SnmpDispatch, MalformedRequestsGetNoProcessor)
{
    snmp::SnmpProcessorFactory factory(nullptr);
    const std::string cases[] = {
        "", "{}", "[1]", "5", "{\"request\":7,\"content\":{\"reboot\":0}} x", std::string(100000, '['),
        R"({"request":10,"content":{}})", R"({"request":0})", R"({"request":"7","content":{"reboot":1}})",
        R"({"request":7.0,"content":{"reboot":1}})", R"({"request":4294967303,"content":{"reboot":1}})",
        R"({"request":7})", R"({"request":7,"content":[]})", R"({"request":7,"content":{"reboot":true}})",
        R"({"request":7,"content":{"reboot":"1"}})", R"({"request":8,"content":{}})",
        R"({"request":8,"content":{"port":0,"on_off":1}})", R"({"request":8,"content":{"outlet_control":{"port":0}}})",
        R"({"request":1,"content":{"device_threshold":{"max_voltage":1}}})",
        R"({"request":2,"content":{"device_uid":"x"}})",
        R"({"request":3,"content":{"outlet_name":{"port":0,"name":false},"outlet_delay":{"port":0,"on":true}}})",
        R"({"request":3,"content":{"outlet_delay":{"port":1.0,"on":true}}})",
        R"({"request":3,"content":{"outlet_delay":{"port":"1","on":true}}})",
        R"({"request":4,"content":{"outlet_delay":{"port":1,"on":1.5}}})",
        R"({"request":5,"content":{"index":1,"ip":true}})", R"({"request":5,"content":{"index":0.0,"ip":true}})",
        R"({"request":5,"content":{"index":0,"ip":1}})", R"({"request":6,"content":{"index":0,"mac":"x"}})",
        R"({"request":9,"content":{"cascade_level":1}})",
        R"({"request":9,"content":{"cascade_level":1,"device_uid":1}})",
    };
    for (const std::string& text : cases)
        EXPECT_EQ("error", ask(factory, text)) << text.substr(0, 80);
    // Read up to the first NUL; the first of two equal keys counts.
    const std::string withNul("{\"request\":7,\"content\":{\"reboot\":0}}\0x", 39);
    EXPECT_EQ(R"({"response":7,"result":0})", ask(factory, withNul));
    EXPECT_EQ(R"({"response":7,"result":0})", ask(factory, R"({"request":7,"request":8,"content":{"reboot":0}})"));
}

TEST_F(SnmpRequestTest, EachCodeAnswersAndLeavesPduDbAsItSays)
{
    const char* const failed = nullptr;
    const Exchange exchanges[] = {
        {"", 1, R"({"device_name":true,"device_uid":true})", R"({"device_uid":"G020300000000001"})"},
        {"", 1, R"({"device_uid":false,"device_name":true})", R"({"device_name":"PDU"})"},
        {"", 1, R"({"device_threshold":{"max_current":true,"min_current":true}})",
         R"({"device_threshold":{"min_current":0.0}})"},
        {"", 1, R"({"device_threshold":{"x":true},"sensor_threshold":{"max_hum":true}})",
         R"({"sensor_threshold":{"max_hum":90.0}})"},
        {"update settings set value='G0203000000000019999' where name='hard_id'", 1, R"({"device_uid":true})",
         R"({"device_uid":"G020300000000001"})"},
        {"update settings set value='G020300000' where name='hard_id'", 1, R"({"device_uid":true})",
         R"({"device_uid":"G020300000      "})"},
        {"delete from settings where name='hard_id'", 1, R"({"device_uid":true})", failed},
        {"", 2, R"({"device_threshold":{"max_current":10}})", R"({"device_threshold":{"max_current":10.0}})",
         kAlarmRow, "10.0|250.0|0.0|90.0"},
        {"", 2, R"({"device_threshold":{"max_current":"9","max_voltage":260.5}})",
         R"({"device_threshold":{"max_voltage":260.5}})", kAlarmRow, "10.0|260.5|0.0|90.0"},
        {"", 2, R"({"device_threshold":{"max_current":12.345}})", R"({"device_threshold":{"max_current":12.34}})",
         kAlarmRow, "12.345|260.5|0.0|90.0"},
        {"", 2, R"({"device_name":5,"sensor_threshold":{"min_temp":60,"max_hum":0.005}})",
         R"({"sensor_threshold":{"min_temp":60.0}})", kAlarmRow, "12.345|260.5|60.0|90.0"},
        {"", 2, R"({"sensor_threshold":{"max_hum":0.005}})", R"({"sensor_threshold":{"max_hum":0.0}})", kAlarmRow,
         "12.345|260.5|60.0|0.005"},
        {"", 2, R"({"device_name":"Rack \"A\"\u0000tail"})", R"({"device_name":"Rack \"A\""})", kName, "Rack \"A\""},
        {"delete from alarms where addr=0 and port is null", 2, R"({"device_threshold":{"min_voltage":100}})", failed},
        {"", 1, R"({"device_threshold":{"min_voltage":true}})", R"({"device_threshold":{"min_voltage":190.0}})"},
        {"", 3, R"({"outlet_delay":{"port":1,"on":false,"off":true}})", R"({"outlet_delay":{"port":1,"off":0}})"},
        {"", 3, R"({"outlet_name":"x","outlet_delay":{"port":0,"restart":true}})",
         R"({"outlet_delay":{"port":0,"restart":5}})"},
        {"", 4, R"({"outlet_delay":{"port":2,"on":-5}})", failed, R"(select "on" from delays where addr=0 and port=2)",
         "0"},
        {"", 4, R"({"outlet_delay":{"port":2,"on":65536}})", failed},
        {"", 4, R"({"outlet_delay":{"port":2,"on":65535}})", R"({"outlet_delay":{"port":2,"on":65535}})",
         R"(select "on" from delays where addr=0 and port=2)", "65535"},
        {"", 4, R"({"outlet_delay":{"port":1},"outlet_threshold":{"port":3,"max_warn_current":1.239}})",
         R"({"outlet_threshold":{"port":3,"max_warn_current":1.23}})",
         "select current_max from alarms where addr=0 and port=3", "1.239"},
        {"", 4, R"({"outlet_threshold":{"port":0,"max_fault_current":2147483648.0}})",
         R"({"outlet_threshold":{"port":0,"max_fault_current":2147483648.0}})",
         "select outage_max from alarms where addr=0 and port=0", "2147483648.0"},
        {"", 4, R"({"outlet_name":{"port":7,"name":"Fan"}})", R"({"outlet_name":{"port":7,"name":"Fan"}})",
         "select port_7 from pdu_names where addr=0", "Fan"},
        {"", 3, R"({"outlet_name":{"port":7,"name":true}})", R"({"outlet_name":{"port":7,"name":"Fan"}})"},
        {"", 4, R"({"outlet_name":{"port":-1,"name":"X"}})", failed, kName, "Rack \"A\""},
        {"", 4, R"({"outlet_delay":{"port":8,"off":3}})", failed, "select count(*) from delays where off=3", "0"},
        {"delete from delays where port=5", 4, R"({"outlet_delay":{"port":5,"off":3}})", failed},
        {"", 3, R"({"outlet_delay":{"port":5,"off":true}})", R"({"outlet_delay":{"port":5,"off":0}})"},
        {"", 3, R"({"outlet_threshold":{"port":8,"max_warn_current":true}})", failed},
        {"", 5, R"({"index":0,"ip":false,"gateway":true})", R"({"index":0,"gateway":"192.168.0.1"})"},
        {"", 6, R"({"index":0,"ip":5,"gateway":"10.0.0.1"})", R"({"index":0,"gateway":"10.0.0.1"})",
         "select value from settings where name='gateway'", "10.0.0.1"},
        {"", 6, R"({"index":0,"http_port":-1})", R"({"index":0,"http_port":-1})",
         "select value from settings where name='http_port'", "-1"},
        {"", 5, R"({"index":0,"http_port":true})", failed},
        {"", 6, R"({"index":0,"dhcp":false,"netbios_name":"MiXed"})", R"({"index":0,"dhcp":false})",
         "select value from settings where name='dhcp'", "0"},
        {"", 6, R"({"index":0,"netbios_name":"MiXed"})", R"({"index":0,"netbios_name":"MiXed"})"},
        {"", 5, R"({"index":0,"netbios_name":true,"dhcp":true})", R"({"index":0,"dhcp":false})"},
        {"", 5, R"({"index":0,"netbios_name":true})", R"({"index":0,"netbios_name":"MiXed"})"},
        {"delete from settings where name='dns'", 6, R"({"index":0,"primary_dns":"1.1.1.1"})", failed,
         "select count(*) from settings where name='dns'", "0"},
        {"", 7, R"({"reboot":0})", ""},
        {"", 9, R"({"device_uid":true})", failed},
    };
    for (const Exchange& e : exchanges)
    {
        if (*e.before)
            test::execSql(test::boardDatabase("pdu.db"), e.before);
        const std::string request = R"({"request":)" + std::to_string(e.code) + R"(,"content":)" + e.content + "}";
        std::string expected = R"({"response":)" + std::to_string(e.code) + R"(,"result":)" + (e.answer ? "0" : "1");
        if (e.answer && *e.answer)
            expected += std::string(R"(,"content":)") + e.answer;
        EXPECT_EQ(expected + "}", ask(request)) << request;
        if (e.query)
        {
            EXPECT_EQ(e.row, pdu(e.query)) << request;
        }
    }
    // The record keeps what was saved; only the answer is cut to two decimals.
    const _Device& device = GlobalData::getDevice();
    EXPECT_EQ(12.345, device.inputThreshold.warnUpperCurrent);
    EXPECT_EQ(190.0, device.inputThreshold.warnLowerVoltage);  // the failed save changed nothing
    EXPECT_EQ(65535, device.portDelays[2].onDelay);
    EXPECT_EQ("Rack \"A\"", device.deviceName);
    EXPECT_EQ("Fan", device.portNames[7]);
}

TEST_F(SnmpRequestTest, EachLimitKeyChangesItsOwnLimitOnly)
{
    const struct
    {
        int code;
        const char *group, *key, *limit;
    } keys[] = {
        {2, "device_threshold", "max_current", "inlet warn upper current"},
        {2, "device_threshold", "min_current", "inlet warn lower current"},
        {2, "device_threshold", "max_voltage", "inlet warn upper voltage"},
        {2, "device_threshold", "min_voltage", "inlet warn lower voltage"},
        {2, "sensor_threshold", "max_temp", "upper temperature"},
        {2, "sensor_threshold", "min_temp", "lower temperature"},
        {2, "sensor_threshold", "max_hum", "upper humidity"},
        {2, "sensor_threshold", "min_hum", "lower humidity"},
        {4, "outlet_threshold", "max_warn_current", "outlet 1 warn upper"},
        {4, "outlet_threshold", "min_warn_current", "outlet 1 warn lower"},
        {4, "outlet_threshold", "max_fault_current", "outlet 1 off upper"},
        {4, "outlet_threshold", "min_fault_current", "outlet 1 off lower"},
    };
    double value = 70.25;
    for (const auto& k : keys)
    {
        value += 1.5;
        const test::RecordLimits expected = test::withLimit(test::recordLimits(), k.limit, value);
        const std::string code = std::to_string(k.code);
        const std::string request = R"({"request":)" + code + R"(,"content":{")" + k.group + "\":{" +
                                    (k.code == 4 ? "\"port\":1," : "") + "\"" + k.key + "\":" +
                                    test::limitText(value) + "}}}";
        EXPECT_EQ(0u, ask(request).find(R"({"response":)" + code + R"(,"result":0)")) << request;
        EXPECT_EQ(test::listed(expected), test::listed(test::recordLimits())) << request;
    }
}

TEST_F(SnmpRequestTest, OutletControlSwitchesWithTheOutletsDelays)
{
    server_.getPowerModuleContainer()->startRead();
    const std::string done = R"({"response":8,"result":0})";
    const auto control = [&](int port, int action) {
        return ask(R"({"request":8,"content":{"outlet_control":{"port":)" + std::to_string(port) + R"(,"on_off":)" +
                   std::to_string(action) + "}}}");
    };
    for (int port : {-1, 8, 60})
        EXPECT_EQ(R"({"response":8,"result":1})", control(port, 1));
    EXPECT_EQ(done, control(0, 3));
    for (const char* delay : {R"("port":0,"on":1)", R"("port":1,"restart":1)"})
        ASSERT_EQ(R"({"response":4,"result":0,"content":{"outlet_delay":{)" + std::string(delay) + "}}}",
                  ask(R"({"request":4,"content":{"outlet_delay":{)" + std::string(delay) + "}}}"));

    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(done, control(0, 1));
    EXPECT_EQ(0, board_.emulator().relayCommandCount());  // waits for its on delay
    ASSERT_TRUE(relaysBecome(0x01, 3));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    ASSERT_EQ(done, control(1, 1));  // no on delay: at once
    ASSERT_TRUE(relaysBecome(0x03, 0.5));
    EXPECT_EQ(done, control(1, 2));  // off at once, on again after the restart delay
    ASSERT_TRUE(relaysBecome(0x01, 0.5));
    EXPECT_TRUE(relaysBecome(0x03, 3));
    EXPECT_EQ(1, board_.emulator().relayCommandCount(0));
}

TEST_F(SnmpRequestTest, CascadeLevelsPickSlavesFromTheMastersCache)
{
    _Device& device = GlobalData::getDevice();
    device.slaves[5] = _SlaveDevice();
    device.slaves[5].address = 5;
    device.slaves[5].pollIndex = 2;
    device.slaves[3] = device.slaves[5];
    device.slaves[3].address = 3;
    device.slaves[3].pollIndex = 1;
    device.slaves[3].deviceName = "Rack \"B\"";
    device.slaves[3].uid = "G010300000000007";
    const std::string head = R"({"response":9,"result":0,"content":{"cascade_level":)";
    const std::pair<const char*, std::string> exchanges[] = {
        {R"("cascade_level":1,"device_addr":true)", head + R"(1,"device_addr":3}})"},
        {R"("cascade_level":2,"device_addr":true)", head + R"(2,"device_addr":5}})"},
        {R"("cascade_level":3,"device_addr":true)", R"({"response":9,"result":1})"},
        {R"("cascade_level":1.0,"device_addr":true)", R"({"response":9,"result":1})"},
        {R"("cascade_level":1,"device_addr":false,"device_name":true)", head + R"(1,"device_name":"Rack \"B\""}})"},
        {R"("cascade_level":1,"device_name":true,"device_addr":true)", head + R"(1,"device_addr":3}})"},
        {R"("cascade_level":1,"device_uid":true)", head + R"(1,"device_uid":"G010300000000007"}})"},
    };
    for (const auto& e : exchanges)
        EXPECT_EQ(e.second, ask(std::string(R"({"request":9,"content":{)") + e.first + "}}")) << e.first;
    device.slaves.clear();
}

// The interface list holds more entries than 512 bytes take; eth0 is the last.
TEST(SnmpInterfaceQuery, ReadsEth0LiveInItsNamespace)
{
    RAILBOX_RUN_IN_NETNS();
    test::resetBoardDatabases();
    snmp::SnmpProcessorFactory factory(nullptr);
    const auto get = [&](const char* key) {
        return ask(factory, std::string(R"({"request":5,"content":{"index":0,")") + key + "\":true}}");
    };
    for (const char* key : {"ip", "submask", "mac"})
        EXPECT_EQ(R"({"response":5,"result":1})", get(key)) << key;
    std::string script = "set -e; for i in $(seq 1 13); do ip link add a$i type veth peer name b$i; "
                         "ip addr add 10.99.$i.1/24 dev a$i; done; ip link add eth0 type veth peer name eth9; "
                         "ip link set eth0 address 02:0a:0b:0c:0d:0e; ip addr add 10.20.30.40/21 dev eth0";
    ASSERT_EQ(0, std::system(("sh -c '" + script + "'").c_str()));
    const std::string head = R"({"response":5,"result":0,"content":{"index":0,)";
    EXPECT_EQ(head + R"("ip":"10.20.30.40"}})", get("ip"));
    EXPECT_EQ(head + R"("submask":"255.255.248.0"}})", get("submask"));
    EXPECT_EQ(head + R"("mac":"02:0A:0B:0C:0D:0E"}})", get("mac"));
    EXPECT_EQ(R"({"response":6,"result":0,"content":{"index":0,"ip":"1.2.3.4"}})",
              ask(factory, R"({"request":6,"content":{"index":0,"ip":"1.2.3.4"}})"));
    EXPECT_EQ(head + R"("ip":"10.20.30.40"}})", get("ip"));  // the stored text is not the live address
}
