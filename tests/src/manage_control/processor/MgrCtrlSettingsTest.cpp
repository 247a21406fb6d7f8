// Manage-control codes 44 to 83 beyond the core's, on an in-process server: each family's exact replies here with
// what they leave in pdu.db, energy.db, the record, the timers and on the emulator; the cascade frame of every
// relayed command; every cut request dropped.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "DeviceClock.h"
#include "GlobalData.h"
#include "PduServer.h"
#include "PingTask.h"
#include "PingTaskContainer.h"
#include "PowerModuleContainer.h"
#include "ScheduledTask.h"
#include "ScheduledTaskContainer.h"
#include "cascade/processor/CascadeCtrlRelay.h"
#include "manage_control/processor/MgrCtrlProcessor.h"
#include "muduo/net/Buffer.h"
#include "platform/core/BoardRoot.h"
#include "platform/pmemu/PmPty.h"
#include "platform/pmemu/PowerModuleEmulator.h"
#include "support/ClockShift.h"
#include "support/ServerBoard.h"
#include "support/TestDatabases.h"
#include "support/TestFrames.h"

namespace
{
std::string x(const std::string& hex) { return test::bytesOfHex(hex); }
std::string field(const std::string& text)
{
    std::string f = text.substr(0, 16);
    f.resize(16, '\0');
    return f;
}
std::string repeat(const std::string& s, int n) { return n > 0 ? s + repeat(s, n - 1) : ""; }

struct Step
{
    Step(std::string q, std::string a, std::function<std::string()> e = nullptr, std::string x = "")
        : request(std::move(q)), reply(std::move(a)), effect(std::move(e)), expected(std::move(x))
    {
    }
    std::string request, reply;
    std::function<std::string()> effect;
    std::string expected;
};

class MgrCtrlSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server_ = &board_.build();
        _Device& device = GlobalData::getDevice();
        device.slaves[2].valid = true;
        device.slaves[2].inputThreshold.mask = 1;
        device.slaves[2].inputThreshold.warnUpperVoltage = 230;
        device.slaves[2].inputThreshold.warnLowerVoltage = 200;
        ::mkdir(board::path("/bin").c_str(), 0755);  // hwclock and reboot stand-ins that record their calls
        for (const char* name : {"/bin/hwclock", "/bin/reboot"})
        {
            std::ofstream(board::path(name)) << "#!/bin/sh\necho \"${0##*/} $*\" >> \"$RAILBOX_ROOT/calls\"\n";
            ::chmod(board::path(name).c_str(), 0755);
        }
        std::remove(board::path("/calls").c_str());
        server_->requestPaths().addMgrCtrlParser("client");
    }

    // The reply data, "dropped", or for a relay "to <address>: " and the payload of the frame on the cascade line.
    std::string ask(const std::string& data)
    {
        const std::string frame = test::mgrCtrlFrame(0, data, 0);
        std::shared_ptr<MgrCtrl::MgrCtrlProcessor> processor;
        const int result =
            server_->requestPaths().parseMgrCtrl("client", frame.data(), static_cast<int>(frame.size()), processor);
        if (result == 2)
            return onTheLine(*processor->relay());
        if (result != 1)
            return "dropped";
        muduo::net::Buffer out;
        processor->process(out);
        const std::string reply = out.retrieveAllAsString();
        EXPECT_EQ(test::mgrCtrlFrame(0, reply.substr(7), 0), reply) << "a well-formed frame without checksum";
        return test::hexBytes(reply.substr(7));
    }
    std::string onTheLine(CascadeCtrl::CascadeCtrlRelay& relay)
    {
        EXPECT_EQ(kCascadeRelayMgrCtrl, relay.type());
        relay.setSerialPort(server_->getCascadeSerialPort());
        relay.transferRemote();
        std::string bytes;
        test::Bytes payload;
        uint8_t address = 0;
        uint16_t sequence = 0;
        board_.runUntil([&] {
            char chunk[256];
            for (ssize_t n; (n = ::read(board_.cascadeLine().masterFd(), chunk, sizeof chunk)) > 0;)
                bytes.append(chunk, static_cast<size_t>(n));
            return test::decodeCascadeFrame(test::Bytes(bytes.begin(), bytes.end()), address, sequence, payload);
        }, 2);
        return "to " + std::to_string(address) + ": " + test::hexBytes(std::string(payload.begin(), payload.end()));
    }
    void run(const std::vector<Step>& steps)
    {
        for (const Step& step : steps)
        {
            EXPECT_EQ(test::hexBytes(x(step.reply)), ask(x(step.request)))
                << step.request;
            EXPECT_EQ(step.expected, step.effect ? step.effect() : "") << step.request;
        }
    }
    static std::function<std::string()> sql(const std::string& query, const char* db = "pdu.db")
    {
        return [=] { return test::queryText(test::boardDatabase(db), query); };
    }
    static std::string setting(const char* name)
    {
        return test::queryText(test::boardDatabase("pdu.db"), std::string("select value from settings where name='") +
                                                                   name + "'");
    }
    static std::string calls()
    {
        std::ifstream in(board::path("/calls"));
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    test::ServerBoard board_;
    PduServer* server_ = nullptr;
};

std::string network(const char* dhcp)
{
    // 192.168.1.10, 255.255.255.0 and 192.168.1.1, their dotted numbers last first.
    return std::string("0A01A8C0 00FFFFFF 0101A8C0 ") + dhcp + " 020000000002" + test::hexBytes(field("RACK")) +
           "1F90 20FB 01";
}
const std::string kPing0 = "7F000001 1E 03 00 01", kPing1 = "0A000001 C8 02 02 00";
// A remark whose last byte starts a three-byte character, and what is kept of it.
const std::string kTaskFields = "00000003 01 24 0C 18 16 00 00 00";
const std::string kTask1 = kTaskFields + test::hexBytes(field("fifteen bytes..\xE2"));
const std::string kTask1Kept = kTaskFields + test::hexBytes(field("fifteen bytes.."));
const char* const kRow = "select ports||'|'||action||'|'||date||' '||time||'|'||repeat||'|'||remark from tasks where id=";
}

TEST_F(MgrCtrlSettingsTest, ThresholdsAndDelays)
{
    _Device& device = GlobalData::getDevice();
    auto limits = [&](int port) {
        return sql("select current_max||'|'||current_min||'|'||outage_max||'|'||outage_min from alarms where port=" +
                   std::to_string(port));
    };
    run({
        {"31 00 00000101 0064 0032 FFFF 00C8 9999 9999 9999 9999", "31 00 00 00000001", limits(0), "1.0|0.5|16.0|2.0"},
        {"31 00 00000002 FFFF FFFF FFFF FFFF", "31 00 00 00000002", limits(1), "10.0|0.0|16.0|0.0"},
        // A record for an outlet this unit lacks (40, 9) fails the whole request; the reply's mask is cut as ever.
        {"4B 00 8000010000000004 0190 0000 FFFF FFFF 0001 0001 0001 0001", "4B 00 01 0000000000000004", limits(2),
         "10.0|0.0|16.0|0.0"},
        {"4B 00 0000000000000201 0190 0000 0640 0000 FFFF FFFF FFFF FFFF", "4B 00 01 0000000000000001", limits(0),
         "1.0|0.5|16.0|2.0"},
        {"4B 00 8000000000000004 0190 0000 FFFF FFFF", "4B 00 00 0000000000000004", limits(2), "4.0|0.0|16.0|0.0"},
        {"32 00 07", "32 00 03 09C4 076C 0640 0000"},
        {"32 02 07", "32 02 01 08FC 07D0"},
        {"32 09 07", "32 09 00"},
        {"35 00 03 00FA FF9C 8000 0064", "35 00 00 03",
         sql("select temperature_max||'|'||temperature_min||'|'||humidity_max||'|'||humidity_min from alarms"
             " where port is null"),
         "25.0|-10.0|2147483648.0|10.0"},
        {"36 00", "36 00 08" + repeat("0000 0000 0005", 8)},
        {"37 00 80000005 0001 FFFF 0003 0002 0002 0002", "37 00 00 00000005",
         sql("select group_concat(\"on\"||'|'||off||'|'||restart, ';') from delays where port in (0, 2)"),
         "1|0|3;2|2|2"},
        {"37 00 00000201 0009 0009 0009 FFFF FFFF FFFF", "37 00 01 00000001",
         sql("select group_concat(\"on\"||'|'||off||'|'||restart, ';') from delays where port in (0, 2)"),
         "1|0|3;2|2|2"},
        {"4C 00 0000000000000002 000A FFFF 000A", "4C 00 00 0000000000000002"},
        {"4C 00 0000000000000102 0007 0007 0007 000A 000A 000A", "4C 00 01 0000000000000002",
         sql("select restart from delays where port=1"), "10"},
    });
    EXPECT_DOUBLE_EQ(16.0, device.outputThresholds[0].offUpperCurrent);
    EXPECT_DOUBLE_EQ(10.0, device.tempHumiThreshold.warnLowerHumi);
    EXPECT_EQ(0, device.portDelays[0].offDelay);
    EXPECT_EQ(10, device.portDelays[1].restartDelay);
    device.portCount = 9;  // an outlet beyond the record's tables keeps its place
    EXPECT_EQ(test::hexBytes(x("36 00 09 0001 0000 0003 000A 0000 000A 0002 0002 0002" + repeat("0000 0000 0005", 5) +
                               "0000 0000 0000")),
              ask(x("36 00")));
    EXPECT_EQ(test::hexBytes(x("31 00 01 00000100")), ask(x("31 00 00000100 0001 0001 0001 0001")));
}

TEST_F(MgrCtrlSettingsTest, ScheduledTasksChangeTheTableThenTheTimers)
{
    run({
        {"38 00 FFFFFFFFFFFF FFFFFFFFFFFF", "38 00 0000"},
        {"39 00" + kTask1, "39 00 00 00000001", sql(std::string(kRow) + "1"), "3|1|2036-12-24 22:00:00|0|fifteen bytes.."},
        {"4E 00 0000010000000001 00 25 01 01 00 00 00 01" + test::hexBytes(field("ext")), "4E 00 00 00000002",
         sql(std::string(kRow) + "2"), "1|0|2037-01-01 00:00:00|1|ext"},
        {"38 00 FFFFFFFFFFFF FFFFFFFFFFFF", "38 00 0002 00000002 00000001 00 25 01 01 00 00 00 01" +
                                                test::hexBytes(field("ext")) + "00000001" + kTask1Kept},
        {"4D 00 FFFFFFFFFFFF 24 0C 1F 00 00 00", "4D 00 0001 00000001 00000000" + kTask1Kept},
        {"3A 00 00000001 00000001 00 24 0C 19 08 00 00 00" + test::hexBytes(field("")), "3A 00 00 00000001",
         sql(std::string(kRow) + "1"), "1|0|2036-12-25 08:00:00|0|"},
        {"3A 00 00000063 00000001 00 24 0C 19 08 00 00 00" + test::hexBytes(field("")), "3A 00 01"},
        {"4F 00 00000002 0000000000000002 01 25 02 02 00 00 00 00" + test::hexBytes(field("x")), "4F 00 00 00000002"},
        {"3B 00 0002 00000001 00000063", "3B 00 01", sql("select count(*) from tasks"), "2"},
        {"3B 00 0000", "3B 00 00"},
        {"3B 00 0001 00000001", "3B 00 00", sql("select group_concat(id) from tasks"), "2"},
    });
    ScheduledTaskContainer& tasks = *server_->getScheduledTaskContainer();
    ASSERT_TRUE(tasks.find(2) && !tasks.find(1));
    EXPECT_TRUE(tasks.find(2)->armed());
    EXPECT_EQ(2u, tasks.find(2)->ports());
}

TEST_F(MgrCtrlSettingsTest, ClockEnergyLogAndReboot)
{
    test::ClockShift shift;
    test::execSql(test::boardDatabase("energy.db"),
                  "update variable set real_energy=500; insert into statistics values (0, 5, '2036-06-01 08:00:00'),"
                  " (0, 6, '2036-06-01 09:00:00'), (1, 7, '2036-06-01 09:00:00'), (255, 9, '2036-06-01 08:00:00')");
    test::execSql(test::boardDatabase("pdu.db"),
                  "insert into system_logs values (4, 5, '{\"type\":5,\"port\":2,\"desc\":1}', 0, '2025-03-04 05:06:07'),"
                  " (5, 8, '{\"type\":8,\"desc\":3}', 0, '2025-03-05 00:00:00')");
    run({
        {"42 00 01 80000003 F8 24 06 01 08 02",
         "42 00 01 80000003 24 06 01 08 00000005 00000006 FFFFFFFF 00000007 00000009 FFFFFFFF"},
        {"42 00 00 00000001 00 24 06 01 08 02", "42 00 00 00000000"},
        {"50 00 03 8000010000000000 00 24 06 01 00 01", "50 00 03 8000000000000000 24 06 01 00 00000009"},
        {"41 00 00 19 03 01 19 03 1F", "41 00 0002 00000004 19 03 04 05 06 07 05 02 01 00000005 19 03 05 00 00 00 08 FF 03"},
        {"41 00 05 19 03 01 19 03 1F", "41 00 0001 00000004 19 03 04 05 06 07 05 02 01"},
        {"3E 00 24 06 01 07 3B 3A", "3E 00 00", calls, "hwclock -w\n"},
        {"3E 00 24 02 1E 00 00 00", "3E 00 01"},  // no 30 February: the clock stays
        {"3F 00", "3F 00 00", sql("select sum(real_energy)||'|'||(select count(*) from statistics) from variable",
                                  "energy.db"), "0|0"},
        {"40 00", "40 00 00", calls, "hwclock -w\nreboot \n"},
    });
    auto now = [] {
        const _DeviceDateTime t = DeviceClock::now();
        char hex[32];
        std::snprintf(hex, sizeof hex, "3D 00 00 %02X %02X %02X %02X %02X %02X", t.year - 2000, t.month, t.day, t.hour,
                      t.minute, t.second);
        return std::string(hex);
    };
    const std::string before = now(), reply = ask(x("3D 00")), after = now();
    EXPECT_TRUE(reply == before || reply == after) << reply;
    EXPECT_EQ("3D 00 00 24 06 01", reply.substr(0, 17));
    test::execSql(test::boardDatabase("pdu.db"), "drop table system_logs");
    EXPECT_EQ("41 00 00 00", ask(x("41 00 00 19 03 01 19 03 1F"))) << "an unreadable log counts no rows";
}

TEST_F(MgrCtrlSettingsTest, NetworkAndCascadeAddressAreStoredForTheNextStart)
{
    run({
        {"2C 00", "2C 00 00 01 6400A8C0 00FFFFFF 0100A8C0 00 020000000001" + test::hexBytes(field("PDU")) +
                      "0050 01BB 00 22BA"},
        {"2D 00 02" + network("80") + "1F91", "2D 00 00", [] {
             return setting("ip") + "|" + setting("mask") + "|" + setting("gateway") + "|" + setting("dhcp") + "|" +
                    setting("netbios_name") + "|" + setting("https_port") + "|" + setting("enable_redirect") + "|" +
                    setting("manage_control_port");
         }, "192.168.1.10|255.255.255.0|192.168.1.1|0|RACK|8443|1|8081"},
        {"2C 00", "2C 00 00 01" + network("00") + "1F91"},
        {"2D 00 00 1F90", "2D 00 01", [] { return setting("manage_control_port"); }, "8081"},
        {"3C 00 03", "3C 00 00", [] { return setting("slave_address"); }, "3"},
        {"3C 00 00", "3C 00 01"},
        {"3C 00 80", "3C 00 01", [] { return setting("slave_address"); }, "3"},
    });
    EXPECT_EQ(0, GlobalData::getDevice().address) << "the new address waits for the next start";
}

TEST_F(MgrCtrlSettingsTest, PingWatchdogsAndTests)
{
    run({
        {"47 00 FFFFFFFF", "47 00 00 00000000"},
        {"43 00 80000003" + kPing0 + kPing1, "43 00 00 00000003",
         sql("select group_concat(port||'|'||ip||'|'||interval||'|'||enabled, ';') from ping where ip<>''"),
         "0|127.0.0.1|30|1;1|10.0.0.1|200|0"},
        {"47 00 FFFFFFFF", "47 00 00 00000003" + kPing0 + kPing1},
        {"51 00 0000010000000001 0A000002 01 01 01 01 0A000003 01 01 01 01", "51 00 01 0000000000000001",
         sql("select ip from ping where port=0"), "127.0.0.1"},
        {"53 00 0000000000000002", "53 00 00 0000000000000002" + kPing1},
        {"44 00 02 7F000001", "44 00 00 02"},
        {"44 00 08 7F000001", "44 00 01 08"},
        {"44 00 FF 7F000001", "44 00 01 FF"},
        {"45 00 FF", "45 00 01 FF"},
    });
    PingTaskContainer& pings = *server_->getPingTaskContainer();
    EXPECT_TRUE(pings.find(0) && pings.find(0)->periodic() && !pings.find(1) && !pings.find(8));
    EXPECT_TRUE(board_.runUntil([&] { return ask(x("45 00 02")) == "45 00 00 02"; }, 4)) << "127.0.0.1 answered";
}

TEST_F(MgrCtrlSettingsTest, ATaskAddedForTheSetClockSwitchesTheEmulatorsOutlet)
{
    test::ClockShift shift;
    server_->getPowerModuleContainer()->startRead();
    EXPECT_EQ("3E 00 00", ask(x("3E 00 24 06 01 07 3B 3A")));
    EXPECT_EQ("39 00 00 00 00 00 01", ask(x("39 00 00000002 01 24 06 01 08 00 00 00") + field("")));
    EXPECT_TRUE(board_.runUntil([&] { return board_.emulator().relayBits() == 0x02; }, 5));
}

const std::vector<std::pair<std::string, std::string>> kRelayed = {
    {"2C 02", "to 2: 05"},
    {"2D 02 02" + network("80") + "1F90", "to 2: 06 01" + network("00") + "1F90"},
    {"31 02 80000101 0001 0002 0003 0004 0005 0006 0007 0008", "to 2: 09 00000101 0001 0002 0003 0004 0005 0006 0007 0008"},
    {"35 02 02 0064 0032", "to 2: 0D 02 0064 0032"},
    {"36 02", "to 2: 0E"},
    {"37 02 80000001 0001 0002 0003", "to 2: 0F 00000001 0001 0002 0003"},
    {"38 02 FFFFFFFFFFFF 28 0C 1F 00 00 00", "to 2: 10 FFFFFFFFFFFF 28 0C 1F 00 00 00"},
    {"39 02" + kTask1, "to 2: 11" + kTask1Kept},
    {"3A 02 00000007" + kTask1, "to 2: 12 00000007" + kTask1Kept},
    {"3B C8 0002 00000005 FFFFFFFF", "to 200: 13 0002 00000005 FFFFFFFF"},
    {"3C 02 05", "to 2: 1A 05"},
    {"3D 02", "to 2: 14"},
    {"3E 02 18 05 01 00 1E 00", "to 2: 15 18 05 01 00 1E 00"},
    {"3F 02", "to 2: 16"},
    {"40 02", "to 2: 17"},
    {"41 02 00 19 01 01 19 0C 1F", "to 2: 18 00 19 01 01 19 0C 1F"},
    {"42 02 01 80000003 F8 1E 06 01 08 02", "to 2: 19 01 80000003 F8 1E 06 01 08 02"},
    {"43 02 00000001" + kPing1, "to 2: 1B 00000001" + kPing1},
    {"44 80 04 C0A8010A", "to 128: 1C 04 C0A8010A"},
    {"45 02 FF", "to 2: 1D FF"},
    {"47 02 FFFFFFFF", "to 2: 1E FFFFFFFF"},
    {"4B 02 8000000000000001 0001 0002 0003 0004", "to 2: 24 0000000000000001 0001 0002 0003 0004"},
    {"4C 02 0000000000000001 0001 0002 0003", "to 2: 25 0000000000000001 0001 0002 0003"},
    {"4D 02 FFFFFFFFFFFF FFFFFFFFFFFF", "to 2: 26 FFFFFFFFFFFF FFFFFFFFFFFF"},
    {"4E 02 0000010000000001 00 29 01 01 00 00 00 01" + test::hexBytes(field("ext")),
     "to 2: 27 0000010000000001 00 29 01 01 00 00 00 01" + test::hexBytes(field("ext"))},
    {"4F 02 00000002 0000000000000002 01 29 02 02 00 00 00 00" + test::hexBytes(field("x")),
     "to 2: 28 00000002 0000000000000002 01 29 02 02 00 00 00 00" + test::hexBytes(field("x"))},
    {"50 02 03 8000010000000000 00 28 06 01 00 01", "to 2: 29 03 8000010000000000 00 28 06 01 00 01"},
    {"51 02 0000000000000001" + kPing0, "to 2: 2A 0000000000000001" + kPing0},
    {"53 02 0000000000000002", "to 2: 2B 0000000000000002"},
};

TEST_F(MgrCtrlSettingsTest, RequestsForSlavesGoOutAsTheirCascadeFrames)
{
    // The command code alone picks a command or its Ext twin, whatever the slave's outlet count.
    for (int outlets : {8, 31, 32})
        for (const auto& r : kRelayed)
        {
            const std::string to = r.second.substr(0, r.second.find(':') + 2);
            GlobalData::getDevice().slaves[std::stoi(to.substr(3))].portCount = outlets;
            EXPECT_EQ(to + test::hexBytes(x(r.second.substr(to.size()))), ask(x(r.first))) << outlets << ": " << r.first;
        }
}

TEST_F(MgrCtrlSettingsTest, CutRequestsAreDroppedAndChangeNothing)
{
    const std::string recordShort = "31 00 00000003 0001 0001 0001 0001 0002 0002";
    std::vector<std::string> requests = {recordShort};
    for (const auto& r : kRelayed)
        requests.push_back(r.first);
    for (const std::string& hex : requests)
    {
        const std::string request = x(hex);
        for (size_t n = 1; n < request.size(); ++n)
            EXPECT_EQ("dropped", ask(request.substr(0, n))) << hex << " cut to " << n;
    }
    EXPECT_EQ("dropped", ask(x(recordShort)));
    EXPECT_EQ("", calls());
    EXPECT_EQ("10.0", test::queryText(test::boardDatabase("pdu.db"), "select current_max from alarms where port=0"));
}
