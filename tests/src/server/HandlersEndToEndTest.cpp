// The handlers on the real daemon: the emulated power module and sensor on
// one side, mbpoll, the SNMP tables and the databases on the other.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <regex>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/pmemu/PowerModuleEmulator.h"
#include "support/DaemonProcess.h"
#include "support/TempBoard.h"
#include "support/TestDatabases.h"

namespace
{
const double kStartTimeout = 20;
using Clock = std::chrono::steady_clock;

bool waitFor(const std::function<bool()>& done, double seconds)
{
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (!done())
    {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

class HandlersEndToEndTest : public ::testing::Test
{
protected:
    bool start()
    {
        return daemon.start() && daemon.waitListening({"tcp 0.0.0.0:502"}, kStartTimeout);
    }
    // mbpoll's "[reference]: value" lines of one request (0-based references).
    std::map<int, long> mbpoll(const std::string& args)
    {
        const std::string out = daemon.runInNamespace("mbpoll -m tcp -0 -1 -o 5 " + args + " 127.0.0.1 2>&1");
        std::map<int, long> values;
        std::regex line(R"(\[(\d+)\]:\s+(-?\d+))");
        for (std::sregex_iterator it(out.begin(), out.end(), line), end; it != end; ++it)
            values[std::stoi((*it)[1])] = std::stol((*it)[2]);
        return values;
    }
    // One table of the SNMP stand-in's shared memory, read by another process.
    std::vector<long> snmpTable(int table)
    {
        FILE* pipe = ::popen((test::buildPath("platform/agentlink/agentlink-dump") + " --root " + daemon.root() +
                              " " + std::to_string(table) + " 2>/dev/null")
                                 .c_str(),
                             "r");
        std::string text;
        char chunk[4096];
        for (size_t n; pipe && (n = ::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
            text.append(chunk, n);
        if (pipe)
            ::pclose(pipe);
        std::vector<long> words;
        const size_t colon = text.find(':');
        if (colon == std::string::npos)
            return words;
        std::istringstream in(text.substr(colon + 1));
        for (long w; in >> w;)
            words.push_back(w);
        return words;
    }
    // The daemon may hold a write lock at that moment: then "<busy>".
    static std::string query(const std::string& file, const std::string& sql)
    {
        try
        {
            return test::queryText(file, sql);
        }
        catch (const std::exception&)
        {
            return "<busy>";
        }
    }
    std::string outletDb(const std::string& sql) { return query(daemon.database("outlet.db"), sql); }
    std::string energyDb(const std::string& sql) { return query(daemon.database("energy.db"), sql); }
    int meterRequests(int port)
    {
        int n = 0;
        for (const pmemu::PmRequest& r : daemon.emulator().requests())
            n += r.command == 1 && !r.payload.empty() && r.payload[0] == port;
        return n;
    }

    test::DaemonProcess daemon;
};
}

TEST_F(HandlersEndToEndTest, ReadingsReachModbusRegistersAndTheSnmpTables)
{
    pmemu::PmMeterModel& model = daemon.emulator().model();
    model.setVoltage(229.94);
    model.setCurrent(1, 2.5);
    model.setPowerFactor(1, 0.8);
    model.setRelayBits(0x02);
    test::execSql(daemon.database("outlet.db"), "replace into status(port, on_off) values(1, 1)");
    ASSERT_TRUE(start()) << daemon.output();
    // Outlet 1 at its virtual addresses: voltage, current, power, factor.
    std::map<int, long> regs;
    EXPECT_TRUE(waitFor(
        [&] {
            regs.clear();
            for (int block = 0; block < 4; ++block)
                for (const auto& v : mbpoll("-t 3 -r " + std::to_string(7 + 200 * block + 1) + " -c 1"))
                    regs[v.first] = v.second;
            return regs[8] == 2299 && regs[208] == 250 && regs[408] == 4599 && regs[608] == 80;
        },
        15))
        << regs[8] << " " << regs[208] << " " << regs[408] << " " << regs[608];
    // The inlet: the sum of the outlets.
    EXPECT_TRUE(waitFor(
        [&] {
            regs = mbpoll("-t 3 -r 0 -c 4");
            return regs[0] == 2299 && regs[1] == 250 && regs[2] == 4599 && regs[3] == 80;
        },
        10));
    EXPECT_TRUE(waitFor([&] { return mbpoll("-t 1 -r 1 -c 1")[1] == 1; }, 5));  // discrete input: outlet 1 on
    // SNMP: the device value and outlet 1's record (value, alarm, on/off).
    std::vector<long> device, outlets;
    EXPECT_TRUE(waitFor(
        [&] {
            device = snmpTable(0);
            outlets = snmpTable(1);
            return device.size() >= 5 && device[0] == 2299 && device[1] == 250 && outlets.size() >= 14 &&
                   outlets[7] == 2299 && outlets[8] == 250 && outlets[9] == 4599 && outlets[10] == 80;
        },
        10));
}

TEST_F(HandlersEndToEndTest, CoilWriteSwitchesTheRelayAndIsStoredInOutletDb)
{
    ASSERT_TRUE(start()) << daemon.output();
    daemon.runInNamespace("mbpoll -m tcp -0 -1 -o 5 -t 0 -r 3 127.0.0.1 1 2>&1");
    EXPECT_TRUE(waitFor([&] { return daemon.emulator().relayBits() == 0x08; }, 5));
    EXPECT_TRUE(waitFor([&] { return outletDb("select on_off from status where port=3") == "1"; }, 10))
        << outletDb("select on_off from status where port=3");
    EXPECT_TRUE(waitFor([&] { return mbpoll("-t 1 -r 3 -c 1")[3] == 1; }, 5));
    daemon.runInNamespace("mbpoll -m tcp -0 -1 -o 5 -t 0 -r 3 127.0.0.1 0 2>&1");
    EXPECT_TRUE(waitFor([&] { return daemon.emulator().relayBits() == 0x00; }, 5));
    EXPECT_TRUE(waitFor([&] { return outletDb("select on_off from status where port=3") == "0"; }, 10));
}

TEST_F(HandlersEndToEndTest, StoredOutletStateIsRestoredAfterItsOnDelay)
{
    test::execSql(daemon.database("outlet.db"), "replace into status(port, on_off) values(5, 1)");
    test::execSql(daemon.database("pdu.db"), "update delays set \"on\"=3 where addr=0 and port=5");
    ASSERT_TRUE(start()) << daemon.output();
    const auto listening = Clock::now();
    EXPECT_EQ(0x00, daemon.emulator().relayBits());
    ASSERT_TRUE(waitFor([&] { return daemon.emulator().relayBits() == 0x20; }, 10));
    EXPECT_GT(Clock::now() - listening, std::chrono::milliseconds(1500));
    EXPECT_TRUE(waitFor([&] { return mbpoll("-t 1 -r 5 -c 1")[5] == 1; }, 5));
}

TEST_F(HandlersEndToEndTest, EnergyRiseIsAcceptedOnItsThirdConsecutiveReading)
{
    pmemu::PmMeterModel& model = daemon.emulator().model();
    model.setEnergyRate(0);
    model.setCurrent(0, 1.0);
    model.setRelayBits(0x01);
    test::execSql(daemon.database("outlet.db"), "replace into status(port, on_off) values(0, 1)");
    ASSERT_TRUE(start()) << daemon.output();
    ASSERT_TRUE(waitFor([&] { return meterRequests(0) >= 2; }, 10));
    daemon.emulator().clearRequests();
    model.setEnergy(0, 5000);  // 50.00 kWh at once
    ASSERT_TRUE(waitFor([&] { return meterRequests(0) >= 2; }, 10));
    // The reply to the second request has arrived long before the third poll.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    if (meterRequests(0) == 2)
    {
        EXPECT_EQ("0", energyDb("select reference_energy from variable where port=0"));
    }
    ASSERT_TRUE(waitFor([&] { return energyDb("select reference_energy from variable where port=0") == "5000"; }, 10));
    EXPECT_GE(meterRequests(0), 3);
    EXPECT_EQ("5000", energyDb("select real_energy from variable where port=0"));
    EXPECT_TRUE(waitFor([&] { return mbpoll("-t 3 -r 807 -c 2")[808] == 5000; }, 5));
}

TEST_F(HandlersEndToEndTest, SensorRecordReachesRegistersAndSnmp)
{
    ASSERT_TRUE(start()) << daemon.output();
    const int32_t record[5] = {1, 23, 4, 45, 6};  // valid, 23.4 degrees, 45.6 %
    daemon.writeDevice("/dev/temp_hum", std::string(reinterpret_cast<const char*>(record), sizeof record));
    std::map<int, long> regs;
    EXPECT_TRUE(waitFor(
        [&] {
            regs = mbpoll("-t 3 -r 1207 -c 2");
            return regs[1207] == 234 && regs[1208] == 456;
        },
        10))
        << regs[1207] << " " << regs[1208];
    EXPECT_TRUE(waitFor(
        [&] {
            const std::vector<long> device = snmpTable(0);
            return device.size() >= 7 && device[5] == 234 && device[6] == 456;
        },
        5));
}
