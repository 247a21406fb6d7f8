// A slave unit on the chain's pseudo-terminal with the test as its master:
// identity and status, outlet switching, names, network and address, and
// the frames it must not answer.
#include <gtest/gtest.h>

#include "GlobalData.h"
#include "PduServer.h"
#include "PowerModuleContainer.h"
#include "SerialPort.h"
#include "Utility.h"
#include "cascade/processor/CascadeCtrlProcessorFactory.h"
#include "cascade/processor/CascadeCtrlSetTimeRelay.h"
#include "muduo/net/Buffer.h"
#include "platform/pmemu/PowerModuleEmulator.h"
#include "support/FakeMaster.h"
#include "support/LogCapture.h"
#include "support/TestDatabases.h"

namespace
{
using test::boardSql;
using test::CascadeStep;
using test::field16;
using test::repeatHex;

_Device& device() { return GlobalData::getDevice(); }
std::string names(int first, int last)
{
    std::string out;
    for (int n = first; n <= last; ++n)
        out += field16(n < 8 ? "Outlet" + std::to_string(n + 1) : "");
    return out;
}

const std::string kNoReading = "0000 0000 00000000 0000 00000000";
const std::string kIdentity = field16("G020300000000001");
const std::string kLimits = " 07 09C4 076C 0640 0000 07D0 0000 312E302E300000000000";

void liveStatus()
{
    _DeviceStatus& s = device().status;
    s.onOffMask = 0x105;
    s.environment.temperature = 25.5;
    s.environment.humidity = Utility::kInvalidDoubleValue;
    s.input = {230.0, 1.5, 345.0, 0.98, 12.5};
    for (_DeviceOutputStatus& o : s.outputs)
        o.voltage = o.current = o.power = o.factor = o.energy = 0;
    s.outputs[2].voltage = 230.0, s.outputs[2].current = 0.5, s.outputs[2].power = 115.0;
    s.outputs[2].factor = 1.0, s.outputs[2].energy = 2.0;
}
const std::string kOutlets = repeatHex(kNoReading, 2) + " 08FC 0032 0000047E 0064 000000C8" + repeatHex(kNoReading, 5);
}

TEST(CascadeCtrlSlaveTest, IdentityAndStatusComeFromTheRecordWithinItsTables)
{
    test::FakeMaster master;
    auto outlets = [](int n) { return [n] { device().portCount = n; }; };
    test::askEach(
        master,
        {
            {"identity", "01", "01 00" + kIdentity + "800000FF" + names(0, 7) + field16("PDU") + kLimits},
            {"identity ext", "1F", "1F 00" + kIdentity + "80000000000000FF" + names(0, 7) + field16("PDU") + kLimits},
            // A 32-outlet unit lists 31 outlets: the top bit is its own name.
            {"identity of 32 outlets", "01", "01 00" + kIdentity + "FFFFFFFF" + names(0, 30) + field16("PDU") + kLimits,
             outlets(32)},
            {"identity of none", "01", "01 00" + kIdentity + "80000000" + field16("PDU") + kLimits, outlets(0)},
            {"everything", "07 FF FFFFFFFF",
             "07 00 07 00000105 00FF 8000 08FC 0096 00000D7A 0062 000004E2 000000FF" + kOutlets,
             [] { device().portCount = 8, liveStatus(); }},
            {"nothing", "07 00 00000000", "07 00 00 00000000"},
            {"states ext", "23 01 FFFFFFFFFFFFFFFF", "23 00 01 0000000000000105 00000000000000FF" + kOutlets},
            // Beyond the 60 live records an outlet reads as missing.
            {"beyond the live table", "23 00 4000000000000002",
             "23 00 00 4000000000000002 " + kNoReading + " FFFF FFFF 00000000 0000 00000000", outlets(64)},
            {"short status request", "07 FF 000000", ""},
        });
}

TEST(CascadeCtrlSlaveTest, OutletSwitchingAnswersTheMaskOfTheUnitsOutlets)
{
    test::FakeMaster master;
    auto relays = [&](uint8_t bits) {
        return [&master, bits] {
            EXPECT_TRUE(master.board().runUntil([&] { return master.board().emulator().relayBits() == bits; }, 3.0))
                << int(master.board().emulator().relayBits());
        };
    };
    // Outlet 3 with as many delayed switch-ons waiting as it may: a request naming it fails, nothing switched.
    auto fill = [&master] {
        device().portDelays[3].onDelay = 3600;
        PowerModuleContainer& modules = *master.board().server().getPowerModuleContainer();
        for (size_t i = 0; i < PowerModuleContainer::kMaxDelayedPerPort; ++i)
            modules.turnOnPortAfter(3, 3600, true);
    };
    test::askEach(master, {
                              {"on", "02 000000FF 01", "02 00 000000FF", nullptr, relays(0xFF)},
                              {"off beyond the outlets", "02 FFFFFFFF 00", "02 00 000000FF", nullptr, relays(0x00)},
                              {"on ext", "20 FFFFFFFF00000005 01", "20 00 0000000000000005", nullptr, relays(0x05)},
                              {"nothing", "02 00000000 00", "02 00 00000000", nullptr, relays(0x05)},
                              {"no action byte", "02 00000001", ""},
                              {"refused whole", "02 00000018 01", "02 01 00000018", fill, relays(0x05)},
                          });
}

TEST(CascadeCtrlSlaveTest, NamesAreReadAndStoredForTheUnitsOutletsOnly)
{
    test::FakeMaster master;
    auto stored = [](const std::string& expected) {
        return [expected] { EXPECT_EQ(expected, boardSql("select port_0||'|'||port_2||'|'||name from pdu_names")); };
    };
    test::askEach(
        master,
        {
            {"unit name", "03 80000000", "03 00 80000000" + field16("PDU")},
            {"all names", "03 FFFFFFFF", "03 00 800000FF" + names(0, 7) + field16("PDU")},
            {"set", "04 80000001" + field16("Alpha") + field16("Rack"),
             "04 00 80000001" + field16("Alpha") + field16("Rack"), nullptr, stored("Alpha|Outlet3|Rack")},
            {"outlet 8 dropped", "04 80000101" + field16("A") + field16("B") + field16("C"),
             "04 00 80000001" + field16("A") + field16("C"), nullptr, stored("A|Outlet3|C")},
            {"only outlet 8", "04 00000100" + field16("X"), "04 01", nullptr, stored("A|Outlet3|C")},
            {"a name short", "04 80000003" + field16("a"), "", nullptr, stored("A|Outlet3|C")},
            {"16 bytes", "04 00000004" + field16("0123456789abcdef"), "04 00 00000004" + field16("0123456789abcdef"),
             nullptr, stored("A|0123456789abcdef|C")},
            {"set ext", "22 8000000000000003" + field16("x") + field16("") + field16("Unit"),
             "22 00 8000000000000003" + field16("x") + field16("") + field16("Unit"), nullptr,
             [] {
                 EXPECT_EQ("x", device().portNames[0]);
                 EXPECT_EQ("Unit", device().deviceName);
             }},
            {"query ext", "21 0000000000000006", "21 00 0000000000000006" + field16("") + field16("0123456789abcdef")},
            // Outlets the identity claims beyond the name table answer empty names.
            {"beyond the table", "03 00000F80", "03 00 00000F80" + field16("Outlet8") + repeatHex(field16(""), 4),
             [] { device().portCount = 12; }},
        });
}

TEST(CascadeCtrlSlaveTest, NetworkSettingsAndTheNewAddressAreStoredForTheNextStart)
{
    test::FakeMaster master;
    // 192.168.1.10, 255.255.255.0 and 192.168.1.1, their dotted numbers last first.
    const std::string record = "0A01A8C0 00FFFFFF 0101A8C0 01 001122334455" + field16("SLAVE3") + "1F90 01BB 01";
    const std::string other = "0A000006 FFFF0000 0A000001 00 001122334466" + field16("OTHER") + "0050 01BB 00";
    auto setting = [](const char* name) {
        return boardSql(std::string("select value from settings where name='") + name + "'");
    };
    test::askEach(master,
                  {
                      {"query", "05",
                       "05 00 01 6400A8C0 00FFFFFF 0100A8C0 00 020000000001" + field16("PDU") + "0050 01BB 00 22BA"},
                      {"set two", "06 03 " + record + other + "1F91", "06 00", nullptr,
                       [&] {
                           EXPECT_EQ("192.168.1.10|255.255.255.0|192.168.1.1|SLAVE3|8080|8890",
                                     setting("ip") + "|" + setting("mask") + "|" + setting("gateway") + "|" +
                                         setting("netbios_name") + "|" + setting("http_port") + "|" +
                                         setting("manage_control_port"));
                       }},
                      {"without interface 0", "06 02 " + other + "22BA", "06 01", nullptr,
                       [&] { EXPECT_EQ("192.168.1.10", setting("ip")); }},
                      {"query again", "05", "05 00 01 " + record + "22BA"},
                      {"address 0", "1A 00", "1A 01"},
                      {"address -128", "1A 80", "1A 01"},
                      {"address 5", "1A 05", "1A 00", nullptr,
                       [&] {
                           EXPECT_EQ("5", setting("slave_address"));
                           EXPECT_EQ(5, device().address);
                       }},
                  });
    // Until the next start the slave answers at the address it started with.
    EXPECT_TRUE(master.ask({0x14}, 0.3, 5).empty());
    EXPECT_EQ(8u, master.ask({0x14}).size());
}

TEST(CascadeCtrlSlaveTest, FramesItMustNotAnswerLeaveItAnswering)
{
    test::FakeMaster master;
    CascadeCtrl::CascadeCtrlProcessorFactory& slave = *master.server().getCascadeCtrlProcessorFactory();
    auto quiet = [&](const test::Bytes& frame, const char* line) {
        test::LogCapture log;
        slave.processCascadeCtrlPacket(reinterpret_cast<const char*>(frame.data()), static_cast<int>(frame.size()));
        EXPECT_TRUE(master.receive(0).empty()) << line;
        EXPECT_TRUE(*line ? log.contains(line) : !log.contains("parse")) << line << log.text();
    };
    quiet(test::cascadeFrame(4, 1, {0x01}), "");
    test::Bytes bad = test::cascadeFrame(3, 1, {0x01});
    bad[4] ^= 0x5A;
    quiet(bad, "parse error");
    for (uint8_t code : {0x00, 0x2C, 0xFF})
        quiet(test::cascadeFrame(3, 1, {code}), "no data parser");

    EXPECT_TRUE(master.receive(0.2).empty());

    // A relay is never sent by a slave.
    auto relay = std::make_shared<CascadeCtrl::CascadeCtrlSetTimeRelay>(kCascadeRelayWeb, 3,
                                                                        CascadeCtrl::CascadeCtrlSetTimeRequest());
    relay->setSerialPort(master.server().getCascadeSerialPort());
    slave.addCascadeCtrlRelay(relay);
    EXPECT_TRUE(master.receive(0.1).empty());

    master.sequence = 0x8001;  // echoed with its top bit
    EXPECT_EQ(8u, master.ask({0x14}).size());
    EXPECT_EQ(8u, master.ask({0x14}).size());
}
