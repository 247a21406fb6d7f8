// Every answer code through the master: a slave's answer on the line
// becomes the waiting client's web answer or manage-control reply data,
// and the answers that change the master's records change them.
#include <gtest/gtest.h>

#include "GlobalData.h"
#include "cascade/processor/CascadeCtrlMasterProcessorFactory.h"
#include "cascade/processor/CascadeCtrlRelays.h"
#include "support/FakeMaster.h"
#include "support/FakeSlave.h"

namespace
{
using namespace CascadeCtrl;
using test::FakeSlave;

struct Case
{
    const char* answer;  // the slave's payload, hex
    CascadeRelayType client;
    std::string reply;  // web: the JSON; manage-control: the reply data, hex
};

const std::string kName0 = test::field16("rack A-0");
const std::string kUnit = test::field16("rack A");
const std::string kPing = "C0 A8 01 0A 0A 02 02 01";  // 192.168.1.10, 10 s, 2 s, restart, on

const Case kCases[] = {
    {"02 00 00 00 00 FF", kCascadeRelayWeb, R"({"response":2,"result":0})"},
    {"02 FF 00 00 00 FF", kCascadeRelayWeb, R"({"response":2,"result":-1})"},
    {"02 00 00 00 00 FF", kCascadeRelayMgrCtrl, "2E 01 00"},
    {"20 00 00 00 00 01 00 00 00 01", kCascadeRelayMgrCtrl, "49 01 00"},
    {"04 01", kCascadeRelayWeb, R"({"response":30,"result":1})"},
    {"04 01", kCascadeRelayMgrCtrl, "2B 01"},
    {"05 00 00 1F 90", kCascadeRelayMgrCtrl, "2C 01 00 00 1F 90"},
    {"06 01", kCascadeRelayMgrCtrl, "2D 01 01"},
    {"08 02 00 1D FF FF 00 64 00 00 00 01 00 02 00 03 00 04", kCascadeRelayMgrCtrl,
     "30 01 02 00 1C FF FF 00 64 00 00 00 01 00 02 00 03 00 04"},
    {"08 00", kCascadeRelayWeb, R"({"response":22,"result":0,"content":{"addr":1,"threshold":[]}})"},
    {"09 00 00 00 00 FF", kCascadeRelayMgrCtrl, "31 01 00 00 00 00 FF"},
    {"09 00 00 00 00 FF", kCascadeRelayWeb, R"({"response":4,"result":0})"},
    {"0B 00 02 03 E8 00 64", kCascadeRelayMgrCtrl, "33 01 00 02"},
    {"0D 01", kCascadeRelayWeb, R"({"response":15,"result":1})"},
    {"0D 01", kCascadeRelayMgrCtrl, "35 01 01 00"},
    {"0E 02 00 05 00 00 FF FF 00 00 00 03 00 0A", kCascadeRelayWeb,
     R"({"response":24,"result":0,"content":{"addr":1,"delay":[{"port":0,"on":5,"off":0,"restart":-1},)"
     R"({"port":1,"on":0,"off":3,"restart":10}]}})"},
    {"0E 00", kCascadeRelayMgrCtrl, "36 01 00"},
    {"0F 01", kCascadeRelayMgrCtrl, "37 01 01 00 00 00 00"},
    {"25 00 00 00 00 01 00 00 00 01", kCascadeRelayMgrCtrl, "4C 01 00 00 00 00 01 00 00 00 01"},
    {"10 00 00", kCascadeRelayWeb, R"({"response":26,"result":0,"content":{"addr":1,"tasks":[]}})"},
    {"11 00 00 00 00 2A", kCascadeRelayWeb, R"({"response":27,"result":0,"content":{"addr":1,"id":42}})"},
    {"11 00 00 00 00 2A", kCascadeRelayMgrCtrl, "39 01 00 00 00 00 2A"},
    {"11 01", kCascadeRelayWeb, R"({"response":27,"result":1})"},
    {"11 01", kCascadeRelayMgrCtrl, "39 01 01"},
    {"12 01", kCascadeRelayWeb, R"({"response":28,"result":1})"},
    {"28 00 00 00 00 07", kCascadeRelayMgrCtrl, "4F 01 00 00 00 00 07"},
    {"13 00", kCascadeRelayMgrCtrl, "3B 01 00"},
    {"14 00 18 0C 1F 17 3B 3A", kCascadeRelayMgrCtrl, "3D 01 00 18 0C 1F 17 3B 3A"},
    {"14 01", kCascadeRelayMgrCtrl, "3D 01 01"},
    {"15 01", kCascadeRelayMgrCtrl, "3E 01 01"},
    {"16 00", kCascadeRelayWeb, R"({"response":13,"result":0})"},
    {"17 00", kCascadeRelayMgrCtrl, "40 01 00"},
    {"18 00 01 00 00 00 09 18 01 02 03 04 05 01 FF 07", kCascadeRelayMgrCtrl,
     "41 01 00 01 00 00 00 09 18 01 02 03 04 05 01 FF 07"},
    {"19 01 80 00 00 01 18 01 02 03 02 00 00 00 01 00 00 00 02 FF FF FF FF 00 00 00 04", kCascadeRelayMgrCtrl,
     "42 01 01 80 00 00 01 18 01 02 03 00 00 00 01 00 00 00 02 FF FF FF FF 00 00 00 04"},
    {"19 01 00 00 00 00", kCascadeRelayMgrCtrl, "42 01 01 00 00 00 00"},
    {"1A 00", kCascadeRelayMgrCtrl, "3C 01 00"},
    {"1B 00 00 00 00 05", kCascadeRelayMgrCtrl, "43 01 00 00 00 00 05"},
    {"1B 01", kCascadeRelayMgrCtrl, "43 01 01 00 00 00 00"},
    {"1B 01", kCascadeRelayWeb, R"({"response":17,"result":1})"},
    {"2A 00 00 00 00 01 00 00 00 01", kCascadeRelayMgrCtrl, "51 01 00 00 00 00 01 00 00 00 01"},
    {"1C 00 02", kCascadeRelayWeb, R"({"response":20,"result":0})"},
    {"1D 01 03", kCascadeRelayMgrCtrl, "45 01 01 03"},
    {"1D 01 03", kCascadeRelayWeb, R"({"response":21,"result":1})"},
    {"1E 00 00 00 00 00", kCascadeRelayWeb, R"({"response":38,"result":0,"content":{"addr":1,"sets":[]}})"},
};

std::string hexOf(const std::string& bytes) { return test::hexBytes(bytes); }
std::string normal(const std::string& hex)
{
    const test::Bytes bytes = test::fromHex(hex);
    return hexOf(std::string(bytes.begin(), bytes.end()));
}

class CascadeCtrlMasterAnswer : public ::testing::Test
{
protected:
    // A master with slave 1 on record that is not polling (not started):
    // every relay goes out at once and the line rests after it.
    FakeSlave line{{1}};

    // The slave's answer to one relayed request; what its client got.
    std::string ask(const std::string& answer, CascadeRelayType client)
    {
        auto sender = std::make_shared<test::RecordingSender>();
        line.master().addCascadeCtrlRelay(line.relay(1, client, sender));
        FakeSlave::Request r;
        EXPECT_TRUE(line.next(r, 0.2));
        line.answer(r, test::fromHex(answer));
        if (!line.board().runUntil([&] { return !sender->sent.empty(); }, 0.3))
            return "";
        const std::string& got = sender->sent.front();
        return client == kCascadeRelayWeb ? got : hexOf(got.substr(7));
    }
};
}

TEST_F(CascadeCtrlMasterAnswer, EveryCodeRepliesToItsClient)
{
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.answer);
        EXPECT_EQ(c.client == kCascadeRelayWeb ? c.reply : normal(c.reply), ask(c.answer, c.client));
    }
}

TEST_F(CascadeCtrlMasterAnswer, NamesAndPingListsGoOnAsAnswered)
{
    EXPECT_EQ(R"({"response":31,"result":0,"content":{"addr":1,"device_name":"rack A","port_names":)"
              R"([{"port":1,"name":"rack A-0"}]}})",
              ask("03 00 80 00 00 02" + kName0 + kUnit, kCascadeRelayWeb));
    EXPECT_EQ(normal("46 01 00 80 00 00 02" + kName0 + kUnit), ask("03 00 80 00 00 02" + kName0 + kUnit,
                                                                   kCascadeRelayMgrCtrl));
    EXPECT_EQ(normal("47 01 00 80 00 00 01" + kPing), ask("1E 00 80 00 00 01" + kPing, kCascadeRelayMgrCtrl));
    EXPECT_EQ(R"({"response":38,"result":0,"content":{"addr":1,"sets":[{"port":0,"ip":"192.168.1.10",)"
              R"("interval":10,"timeout":2,"action":2,"enabled":1}]}})",
              ask("1E 00 80 00 00 01" + kPing, kCascadeRelayWeb));
    EXPECT_EQ(normal("53 01 00 00 00 01 00 00 00 00 00" + kPing),
              ask("2B 00 00 00 01 00 00 00 00 00" + kPing, kCascadeRelayMgrCtrl));
}

TEST_F(CascadeCtrlMasterAnswer, ChangedNamesAndInletLimitsJoinTheSlavesRecord)
{
    _SlaveDevice& slave = GlobalData::getDevice().slaves.at(1);
    slave.portNames[3] = "kept";
    EXPECT_EQ(normal("2B 00 80 00 00 01"), ask("04 00 80 00 00 01" + kName0 + kUnit, kCascadeRelayMgrCtrl));
    EXPECT_EQ("rack A-0", slave.portNames[0]);
    EXPECT_EQ("rack A", slave.deviceName);
    EXPECT_EQ("kept", slave.portNames[3]);
    // Outlet 40 of a 64-bit name change has no room in the record.
    EXPECT_EQ(R"({"response":30,"result":0})",
              ask("22 00 00 00 01 00 00 00 00 00" + test::field16("far"), kCascadeRelayWeb));
    // Inlet limits: the voltage pair, then the current pair alone: both stay.
    ask("0B 00 01 09 C4 07 6C", kCascadeRelayWeb);
    ask("0B 00 02 03 E8 00 64", kCascadeRelayWeb);
    EXPECT_EQ(0x03, slave.inputThreshold.mask);
    EXPECT_DOUBLE_EQ(250.0, slave.inputThreshold.warnUpperVoltage);
    EXPECT_DOUBLE_EQ(10.0, slave.inputThreshold.warnUpperCurrent);
    ask("0B 01", kCascadeRelayWeb);  // a failed change changes nothing
    EXPECT_EQ(0x03, slave.inputThreshold.mask);
}

TEST_F(CascadeCtrlMasterAnswer, ShortAnswersAreRefusedAndReachNoClient)
{
    for (const char* answer : {"11 00 00 2A", "04 00 80 00 00 03", "0E 03 00 05 00 00 FF FF", "1E 00 00 00 00 07",
                               "20 00 00 00 00 01", "19 01 80 00 00 01 18", "02"})
    {
        SCOPED_TRACE(answer);
        EXPECT_EQ("", ask(answer, kCascadeRelayMgrCtrl));
        line.master().stop();  // ends the wait the refused answer left
    }
}
