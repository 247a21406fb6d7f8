// The manage-control dispatcher of a real server: each command's exact reply
// on this unit, its cascade payload when relayed, and every cut request.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "GlobalData.h"
#include "PduServer.h"
#include "cascade/processor/CascadeCtrlRelay.h"
#include "manage_control/processor/MgrCtrlProcessor.h"
#include "muduo/net/Buffer.h"
#include "support/LogCapture.h"
#include "support/RecordLimits.h"
#include "support/ServerBoard.h"
#include "support/TestDatabases.h"
#include "support/TestFrames.h"

namespace
{
// "2E 00 0A" to bytes; spaces anywhere.
std::string x(const std::string& hex)
{
    std::string out;
    for (size_t i = 0; i < hex.size();)
        if (hex[i] == ' ')
            ++i;
        else
            out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)), i += 2;
    return out;
}
std::string field(const std::string& text, size_t n = 16)
{
    std::string f = text.substr(0, n);
    f.resize(n, '\0');
    return f;
}
std::string repeat(const std::string& s, int n) { return n > 0 ? s + repeat(s, n - 1) : ""; }
const std::string kNoReading = std::string(14, '\0');
const std::string kUnit = field("G020300000000001") + field("PDU") + field("1.0.0", 10);
const std::string kEightNames = field("Outlet1") + field("Outlet2") + field("Outlet3") + field("Outlet4") +
                                field("Outlet5") + field("Outlet6") + field("Outlet7") + field("Outlet8");

struct Local
{
    const char* what;
    int slaveAt;  // >= 0: this unit is not the master and has this address
    int outlets;
    std::string request, reply;
};
// Queries first: the set commands change the names they read.
const std::vector<Local> kLocal = {
    {"list: valid slaves only, counted", -1, 8, x("2A"),
     x("2A 00 03 00") + kUnit + x("02") + field("G020300000000002") + field("S2") + field("2.0", 10) + x("C8")
         + field("G0E0300000000009") + field("Wide") + field("3.1", 10)},
    {"list on a slave", 3, 8, x("2A FF"), x("2A 00 01 03") + kUnit},
    {"status: masks cut to the unit", -1, 8, x("2F 00 F8 00000101"), x("2F 00 00 00 00000001") + kNoReading},
    {"status of slave 200 from its record", -1, 8, x("4A C8 01 0000000000000003"),
     x("4A C8 00 01 0000000000000005 0000000000000003") + kNoReading + x("0901") + std::string(12, '\0')},
    {"status of a slave not answering", -1, 8, x("2F 03 07 000000FF"), x("2F 03 01")},
    {"status of no slave", -1, 8, x("2F 63 00 00000001"), x("2F 63 01")},
    {"status on a slave: its own", 3, 8, x("2F 05 00 00000001"), x("2F 05 00 00 00000001") + kNoReading},
    {"names", -1, 8, x("46 00 FFFFFFFF"),
     x("46 00 00 800000FF") + field("Outlet1") + field("Outlet2") + field("Outlet3") + field("Outlet4")
         + field("Outlet5") + field("Outlet6") + field("Outlet7") + field("Outlet8") + field("PDU")},
    {"bit 31 is the unit's name only", -1, 48, x("46 00 C0000000"),
     x("46 00 00 C0000000") + field("") + field("PDU")},
    {"names of slave 200", -1, 8, x("46 C8 80000003"),
     x("46 C8 00 80000003") + field("W0") + field("W1") + field("Wide")},
    {"names of a slave not answering", -1, 8, x("46 03 FFFFFFFF"), x("46 03 01")},
    // A wide mask keeps the outlets of the unit and the name bit: 31 outlets are bits 0 to 30, 32 bits 0 to 31.
    {"wide names on 31 outlets", -1, 31, x("52 00 FFFFFFFFFFFFFFFF"),
     x("52 00 00 800000007FFFFFFF") + kEightNames + repeat(field(""), 23) + field("PDU")},
    {"wide names on 32 outlets", -1, 32, x("52 00 FFFFFFFFFFFFFFFF"),
     x("52 00 00 80000000FFFFFFFF") + kEightNames + repeat(field(""), 24) + field("PDU")},
    {"wide names on a slave: its own", 3, 8, x("52 07 8000000000000001"),
     x("52 07 00 8000000000000001") + field("Outlet1") + field("PDU")},
    {"outlet limits", -1, 8, x("30 00"), x("30 00 08") + repeat(x("03E8 0000 0640 0000"), 8)},
    {"outlet limits beyond the table", -1, 9, x("30 00"),
     x("30 00 09") + repeat(x("03E8 0000 0640 0000"), 8) + x("FFFF FFFF FFFF FFFF")},
    {"temperature and humidity limits", -1, 8, x("34 00 FF"), x("34 00 03 01F4 0000 0384 0000")},
    {"switch", -1, 8, x("2E 00 00000005 01"), x("2E 00 00")},
    {"wide switch", -1, 8, x("49 00 8000000000000001 00"), x("49 00 00")},
    {"inlet limits", -1, 8, x("33 00 07 0960 0640 03E8 0000 0640 0000"), x("33 00 00 03")},
    {"names of outlets the unit lacks dropped", -1, 8,
     x("2B 00 80000201") + field("A0") + field("Nine") + field("Unit"), x("2B 00 80000001")},
    {"nothing the unit has", -1, 8, x("2B 00 00000200") + field("x"), x("2B 01")},
    {"wide names", -1, 8, x("48 00 8000010000000001") + field("E0") + field("E40") + field("Ext"),
     x("48 00 8000000000000001")},
    // The reply's mask is cut to the unit's outlets: a 32-bit one from 32 outlets on, a 64-bit one from 64 on.
    // Outlet 30 or 62 lies past the limit tables (8 outlets), so the save is refused whole, mask and all.
    {"limits of 31 outlets", -1, 31, x("31 00 C0000001") + repeat(x("0001 0002 0003 0004"), 2),
     x("31 00 01 40000001")},
    {"limits of 32 outlets", -1, 32, x("31 00 C0000001") + repeat(x("0001 0002 0003 0004"), 3),
     x("31 00 01 C0000001")},
    {"wide limits of 63 outlets", -1, 63, x("4B 00 C000000000000001") + repeat(x("0001 0002 0003 0004"), 2),
     x("4B 00 01 4000000000000001")},
    {"wide limits of 64 outlets", -1, 64, x("4B 00 C000000000000001") + repeat(x("0001 0002 0003 0004"), 2),
     x("4B 00 01 C000000000000001")},
};

struct Relayed
{
    std::string request;
    int target;
    std::string payload;
};
const std::vector<Relayed> kRelayed = {
    {x("2E C8 00000081 09"), 200, x("02 00000081 09")},
    {x("49 03 0000000000000001 00"), 3, x("20 0000000000000001 00")},
    {x("2B 02 80000001") + field("X") + field("Y"), 2, x("04 80000001") + field("X") + field("Y")},
    {x("48 81 0000000000000004") + field("Z"), 129, x("22 0000000000000004") + field("Z")},
    {x("30 02"), 2, x("08")},
    {x("33 02 02 0064 0000"), 2, x("0B 02 0064 0000")},
    {x("34 FF 01"), 255, x("0C 01")},
};

class MgrCtrlDispatchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server_ = &board_.build();
        _Device& device = GlobalData::getDevice();
        auto slave = [&](int address, bool valid, int outlets, const char* uid, const char* name, const char* fw) {
            _SlaveDevice& s = device.slaves[address];
            s.address = address, s.valid = valid, s.portCount = outlets, s.uid = uid, s.deviceName = name;
            s.fwVersion = fw;
            return &s;
        };
        slave(2, true, 8, "G020300000000002", "S2", "2.0");
        slave(3, false, 8, "G020300000000003", "S3", "2.0");
        _SlaveDevice* wide = slave(200, true, 24, "G0E0300000000009", "Wide", "3.1");
        wide->portNames[0] = "W0", wide->portNames[1] = "W1";
        wide->status.onOffMask = 5;
        wide->status.outputs[1].voltage = 230.5;
        server_->requestPaths().addMgrCtrlParser("client");
    }
    // The dispatcher's result for one whole frame.
    int ask(const std::string& data, std::shared_ptr<MgrCtrl::MgrCtrlProcessor>& processor, uint8_t flag = 0)
    {
        const std::string frame = test::mgrCtrlFrame(flag, data);
        return server_->requestPaths().parseMgrCtrl("client", frame.data(), static_cast<int>(frame.size()), processor);
    }

    test::ServerBoard board_;
    PduServer* server_ = nullptr;
};
}

TEST_F(MgrCtrlDispatchTest, EachCommandAnswersHereWithItsExactReply)
{
    _Device& device = GlobalData::getDevice();
    for (const Local& c : kLocal)
        for (uint8_t flag : {0, 1})
        {
            device.isMaster = c.slaveAt < 0;
            device.address = c.slaveAt < 0 ? 0 : c.slaveAt;
            device.portCount = c.outlets;
            std::map<int, _SlaveDevice> slaves;  // a unit that is not the master has none
            if (!device.isMaster)
                slaves.swap(device.slaves);
            std::shared_ptr<MgrCtrl::MgrCtrlProcessor> processor;
            ASSERT_EQ(1, ask(c.request, processor, flag)) << c.what;
            muduo::net::Buffer reply;
            processor->process(reply);
            if (!device.isMaster)
                slaves.swap(device.slaves);
            EXPECT_EQ(test::hexBytes(test::mgrCtrlFrame(flag, c.reply, flag ? -1 : 0)),
                      test::hexBytes(reply.retrieveAllAsString()))
                << c.what;
        }
    EXPECT_EQ(3u, device.slaves.size()) << "a lookup added a slave record";
    // What the set commands left in pdu.db and in the record.
    const std::string pdu = test::boardDatabase("pdu.db");
    EXPECT_EQ("Ext|E0|Outlet2", test::queryText(pdu, "select name||'|'||port_0||'|'||port_1 from pdu_names"));
    EXPECT_EQ("Ext", device.deviceName);
    EXPECT_EQ("E0", device.portNames[0]);
    EXPECT_EQ("240.0|160.0|16.0", test::queryText(pdu, "select voltage_max||'|'||voltage_min||'|'||outage_max"
                                                       " from alarms where port is null"));
    EXPECT_DOUBLE_EQ(240.0, device.inputThreshold.warnUpperVoltage);
}

TEST_F(MgrCtrlDispatchTest, EachLimitFieldChangesItsOwnLimitOnly)
{
    // Fixed point, big-endian: value times scale in 16 bits (two's complement when negative).
    auto f = [](double value, double scale) {
        const uint16_t n = static_cast<uint16_t>(static_cast<int16_t>(std::lround(value * scale)));
        return std::string{static_cast<char>(n >> 8), static_cast<char>(n & 0xFF)};
    };
    const std::string keep = x("FFFF");
    typedef std::function<std::string(double, double)> Request;  // (the new value, its pair's stored value)
    const struct
    {
        const char *limit, *pairLimit;
        Request request;
    } fields[] = {
        {"inlet warn upper voltage", "inlet warn lower voltage",
         [&](double v, double p) { return x("33 00 01") + f(v, 10) + f(p, 10); }},
        {"inlet warn lower voltage", "inlet warn upper voltage",
         [&](double v, double p) { return x("33 00 01") + f(p, 10) + f(v, 10); }},
        {"inlet warn upper current", "inlet warn lower current",
         [&](double v, double p) { return x("33 00 02") + f(v, 100) + f(p, 100); }},
        {"inlet warn lower current", "inlet warn upper current",
         [&](double v, double p) { return x("33 00 02") + f(p, 100) + f(v, 100); }},
        {"upper temperature", "lower temperature", [&](double v, double p) { return x("35 00 01") + f(v, 10) + f(p, 10); }},
        {"lower temperature", "upper temperature", [&](double v, double p) { return x("35 00 01") + f(p, 10) + f(-v, 10); }},
        {"upper humidity", "lower humidity", [&](double v, double p) { return x("35 00 02") + f(v, 10) + f(p, 10); }},
        {"lower humidity", "upper humidity", [&](double v, double p) { return x("35 00 02") + f(p, 10) + f(v, 10); }},
        {"outlet 1 warn upper", "", [&](double v, double) { return x("31 00 00000002") + f(v, 100) + keep + keep + keep; }},
        {"outlet 1 warn lower", "", [&](double v, double) { return x("31 00 00000002") + keep + f(v, 100) + keep + keep; }},
        {"outlet 1 off upper", "", [&](double v, double) { return x("31 00 00000002") + keep + keep + f(v, 100) + keep; }},
        {"outlet 1 off lower", "", [&](double v, double) { return x("31 00 00000002") + keep + keep + keep + f(v, 100); }},
        {"outlet 1 warn upper", "",
         [&](double v, double) { return x("4B 00 0000000000000002") + f(v, 100) + keep + keep + keep; }},
        {"outlet 1 off lower", "",
         [&](double v, double) { return x("4B 00 0000000000000002") + keep + keep + keep + f(v, 100); }},
    };
    double value = 60.5;
    for (const auto& field : fields)
    {
        value += 1.5;
        const double sent = std::string(field.limit) == "lower temperature" ? -value : value;  // below zero
        const test::RecordLimits before = test::recordLimits();
        const std::string request = field.request(value, *field.pairLimit ? test::limitOf(before, field.pairLimit) : 0);
        std::shared_ptr<MgrCtrl::MgrCtrlProcessor> processor;
        ASSERT_EQ(1, ask(request, processor)) << test::hexBytes(request);
        muduo::net::Buffer reply;
        processor->process(reply);
        EXPECT_EQ(0, reply.peek()[7 + 2]) << "the result byte of " << test::hexBytes(request);
        EXPECT_EQ(test::listed(test::withLimit(before, field.limit, sent)), test::listed(test::recordLimits()))
            << test::hexBytes(request);
    }
}

TEST_F(MgrCtrlDispatchTest, RequestsForSlavesCarryTheSameRequestToTheCascade)
{
    // The command code alone picks a command or its Ext twin, whatever the slave's outlet count.
    for (int outlets : {31, 32})
        for (const Relayed& c : kRelayed)
            for (uint8_t flag : {0, 1})
            {
                GlobalData::getDevice().slaves[c.target].portCount = outlets;
                std::shared_ptr<MgrCtrl::MgrCtrlProcessor> processor;
                ASSERT_EQ(2, ask(c.request, processor, flag)) << test::hexBytes(c.request);
                const auto& relay = processor->relay();
                EXPECT_EQ(kCascadeRelayMgrCtrl, relay->type());
                EXPECT_EQ(c.target, relay->targetAddress());
                EXPECT_EQ(flag != 0, relay->checksumFlag());
                muduo::net::Buffer payload;
                relay->buildRequestData(payload);
                EXPECT_EQ(test::hexBytes(c.payload), test::hexBytes(payload.retrieveAllAsString())) << outlets;
            }
}

TEST_F(MgrCtrlDispatchTest, CutRequestsAndUnknownCodesGetNothing)
{
    test::LogCapture log;
    std::vector<std::pair<std::string, int>> requests;  // and the unit's outlet count
    for (const Local& c : kLocal)
        requests.push_back({c.request, c.outlets});
    for (const Relayed& c : kRelayed)
        requests.push_back({c.request, 8});
    for (const auto& entry : requests)
        for (size_t n = 1; n < entry.first.size(); ++n)
        {
            const std::string& request = entry.first;
            GlobalData::getDevice().portCount = entry.second;
            std::shared_ptr<MgrCtrl::MgrCtrlProcessor> processor;
            const bool codeOnly = request[0] == 0x2A;
            EXPECT_EQ(codeOnly ? 1 : 0, ask(request.substr(0, n), processor)) << test::hexBytes(request) << " " << n;
            EXPECT_EQ(codeOnly, processor != nullptr);
        }
    EXPECT_TRUE(log.contains("parse mgrctrl data error"));
    std::shared_ptr<MgrCtrl::MgrCtrlProcessor> extra;
    EXPECT_EQ(1, ask(x("30 00 99 99"), extra)) << "bytes after the last field are ignored";
    for (const char* code : {"29", "00", "28", "54", "FF"})
    {
        std::shared_ptr<MgrCtrl::MgrCtrlProcessor> processor;
        log.clear();
        EXPECT_EQ(0, ask(x(code) + x("00 00 00 00 00 00 00"), processor)) << code;
        EXPECT_TRUE(log.contains("no data parser")) << code;
    }
    std::shared_ptr<MgrCtrl::MgrCtrlProcessor> processor;
    EXPECT_EQ(0, server_->requestPaths().parseMgrCtrl("stranger", "\xA4", 1, processor));
    EXPECT_TRUE(log.contains("no packet parser"));
}
