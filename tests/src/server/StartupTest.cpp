// The real daemon on a board of its own, each in its own network namespace.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "platform/pmemu/PowerModuleEmulator.h"
#include "support/DaemonProcess.h"
#include "support/TempBoard.h"
#include "support/TestDatabases.h"

namespace
{
const char* const kUsage =
    "Usage: ./railbox [web_ip] [web_port] [config_port] [modbus_port] [manage_control_scan_port] "
    "[manage_control_port]";
const double kStartTimeout = 20;

// The sockets are bound while the server is built, before it seeds its
// tables and restores the counters: what follows start-up is polled for.
bool eventually(const std::function<bool()>& done, double timeoutSeconds = kStartTimeout)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (!done())
    {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::vector<std::string> addresses(const std::string& web, const std::string& config, const std::string& modbus,
                                   const std::string& scan, const std::string& mgrCtrl)
{
    return {"udp " + web, "udp 0.0.0.0:" + config, "tcp 0.0.0.0:" + modbus, "udp 127.0.0.1:8889",
            "udp 0.0.0.0:" + scan, "tcp 0.0.0.0:" + mgrCtrl, "udp 0.0.0.0:137"};
}

std::string describe(const std::set<std::string>& sockets)
{
    std::string text;
    for (const std::string& s : sockets)
        text += s + "; ";
    return text;
}

size_t count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// Contents and modification time of a board file.
std::string snapshot(const std::string& path)
{
    struct stat st = {};
    ::stat(path.c_str(), &st);
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec) + ":" + bytes.str();
}

std::string boardSnapshot(const test::DaemonProcess& daemon)
{
    std::string all;
    for (const char* file : {"pdu.db", "pdu_default.db", "energy.db", "outlet.db"})
        all += snapshot(daemon.database(file));
    for (const char* file : {"/dev/beeper", "/dev/lcd"})
        all += snapshot(daemon.root() + file);
    return all;
}
}

TEST(StartupTest, ListensOnTheDefaultAddressesWithoutArguments)
{
    test::DaemonProcess daemon;
    ASSERT_TRUE(daemon.start());
    const auto expected = addresses("127.0.0.1:8888", "6666", "502", "8891", "8890");
    EXPECT_TRUE(daemon.waitListening(expected, kStartTimeout)) << describe(daemon.listening()) << daemon.output();
    EXPECT_TRUE(daemon.running());
}

TEST(StartupTest, ManageControlPortComesFromTheSettings)
{
    test::DaemonProcess daemon;
    test::execSql(daemon.database("pdu.db"), "update settings set value='9100' where name='manage_control_port'");
    ASSERT_TRUE(daemon.start());
    EXPECT_TRUE(daemon.waitListening(addresses("127.0.0.1:8888", "6666", "502", "8891", "9100"), kStartTimeout))
        << describe(daemon.listening());
}

TEST(StartupTest, TwoArgumentsChangeOnlyTheWebAddress)
{
    test::DaemonProcess daemon;
    ASSERT_TRUE(daemon.start({"127.0.0.2", "9999"}));
    EXPECT_TRUE(daemon.waitListening(addresses("127.0.0.2:9999", "6666", "502", "8891", "8890"), kStartTimeout))
        << describe(daemon.listening());
    EXPECT_EQ(0u, daemon.listening().count("udp 127.0.0.1:8888"));
}

TEST(StartupTest, SixArgumentsSetEveryPortButTheFixedOnes)
{
    test::DaemonProcess daemon;
    ASSERT_TRUE(daemon.start({"127.0.0.1", "18888", "16666", "1502", "18891", "18890"}));
    EXPECT_TRUE(daemon.waitListening(addresses("127.0.0.1:18888", "16666", "1502", "18891", "18890"), kStartTimeout))
        << describe(daemon.listening());
}

TEST(StartupTest, SevenArgumentsGiveTheUsageLine)
{
    test::DaemonProcess daemon;
    const std::string before = boardSnapshot(daemon);
    ASSERT_TRUE(daemon.start({"127.0.0.1", "1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(255, daemon.waitExit(kStartTimeout));
    EXPECT_EQ(1u, count(daemon.output(), kUsage)) << daemon.output();
    EXPECT_EQ(before, boardSnapshot(daemon));
}

TEST(StartupTest, BadPortArgumentsGiveTheUsageLine)
{
    test::DaemonProcess daemon;
    const std::string before = boardSnapshot(daemon);
    const std::vector<std::vector<std::string>> cases = {
        {"127.0.0.1", "abc"},
        {"127.0.0.1", "8888", "-1"},
        {"127.0.0.1", "8888", "6666", "65536"},
        {"127.0.0.1", "8888", "6666", "502", "12x"},
        {"127.0.0.1", "8888", "6666", "502", "8891", ""},
        {"127.0.0.1", "8888", "6666", "502", "8891", "99999999999999999999"},
    };
    size_t usages = 0;
    for (const auto& args : cases)
    {
        ASSERT_TRUE(daemon.start(args));
        EXPECT_EQ(255, daemon.waitExit(kStartTimeout)) << args.back();
        EXPECT_EQ(++usages, count(daemon.output(), kUsage)) << args.back();
    }
    EXPECT_EQ(0u, count(daemon.output(), "terminate")) << daemon.output();
    EXPECT_EQ(before, boardSnapshot(daemon));
}

TEST(StartupTest, SecondCopyExitsAndTouchesNothing)
{
    test::DaemonProcess daemon;
    ASSERT_TRUE(daemon.start());
    const auto expected = addresses("127.0.0.1:8888", "6666", "502", "8891", "8890");
    ASSERT_TRUE(daemon.waitListening(expected, kStartTimeout)) << daemon.output();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // start-up writes settle
    const std::string before = boardSnapshot(daemon);

    ASSERT_TRUE(daemon.startAnother());
    EXPECT_EQ(255, daemon.waitExit(kStartTimeout));
    EXPECT_TRUE(daemon.waitForOutput("Programe already running", 5)) << daemon.output();
    EXPECT_NE(daemon.output().find("lock file failed"), std::string::npos);
    EXPECT_EQ(before, boardSnapshot(daemon));
    EXPECT_TRUE(daemon.running());
    EXPECT_TRUE(daemon.waitListening(expected, 1));
}

TEST(StartupTest, KeepsRunningAndServingAfterStartUp)
{
    test::DaemonProcess daemon;
    ASSERT_TRUE(daemon.start());
    ASSERT_TRUE(daemon.waitListening(addresses("127.0.0.1:8888", "6666", "502", "8891", "8890"), kStartTimeout))
        << daemon.output();
    // The meter poll runs (one request per 0.1 s) and the three start-up beeps were asked for.
    daemon.emulator().clearRequests();
    EXPECT_TRUE(daemon.emulator().waitForRequests(10, std::chrono::seconds(10)));
    struct stat beeper = {};
    ASSERT_EQ(0, ::stat((daemon.root() + "/dev/beeper").c_str(), &beeper));
    EXPECT_GT(beeper.st_size, 0);

    std::this_thread::sleep_for(std::chrono::seconds(2));
    ASSERT_TRUE(daemon.running()) << daemon.output();
    int status = -1;
    const std::string modbus = daemon.runInNamespace("mbpoll -m tcp -a 1 -t 3 -r 1 -c 1 -1 127.0.0.1", &status);
    EXPECT_EQ(0, status) << modbus;
    // The name answer carries the address of the first interface.
    daemon.runInNamespace("ip link add eth0 type veth peer name veth1 && ip addr add 10.9.8.7/24 dev eth0", &status);
    ASSERT_EQ(0, status);
    const std::string nbns = daemon.runInNamespace("nmblookup -U 127.0.0.1 PDU", &status);
    EXPECT_NE(std::string::npos, nbns.find("10.9.8.7 PDU<00>")) << nbns;
    EXPECT_TRUE(daemon.running()) << daemon.output();
}

TEST(StartupTest, SeedsTheAgentTables)
{
    test::DaemonProcess daemon;
    ASSERT_TRUE(daemon.start());
    ASSERT_TRUE(daemon.waitListening({"udp 127.0.0.1:8889"}, kStartTimeout)) << daemon.output();
    const std::string dump = test::buildPath("platform/agentlink/agentlink-dump") + " --root " + daemon.root();
    std::string tables;
    const auto readTables = [&] {
        tables.clear();
        FILE* pipe = ::popen(dump.c_str(), "r");
        if (!pipe)
            return false;
        char chunk[4096];
        for (size_t n; (n = ::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
            tables.append(chunk, n);
        ::pclose(pipe);
        // No sensor reading yet, eight outlets, started.
        return tables.find("table 0: 0 0 0 0 0 -2147483648 -2147483648 0 0 0 0 8 1") != std::string::npos;
    };
    EXPECT_TRUE(eventually(readTables)) << tables;
    // Slave heads invalid.
    for (int slot = 2; slot <= 5; ++slot)
        EXPECT_NE(std::string::npos, tables.find("table " + std::to_string(slot) + ": 0 ")) << tables;
}

TEST(StartupTest, RestoresTheEnergyCountersBeforeTheStartUpRecord)
{
    test::DaemonProcess daemon;
    const std::string energy = daemon.database("energy.db");
    const std::string yesterday = "strftime('%Y-%m-%d %H:00:00', 'now', 'localtime', '-1 day')";
    test::execSql(energy, "update variable set reference_energy=1000, real_energy=500, save_energy=200, "
                          "save_datetime=" + yesterday + " where port=0;"
                          "update variable set reference_energy=90, real_energy=70, save_energy=30, "
                          "save_datetime=" + yesterday + " where port=255");
    // No readings: they would move the counters checked below.
    daemon.emulator().setSilent(true);
    ASSERT_TRUE(daemon.start());
    ASSERT_TRUE(daemon.waitListening({"udp 127.0.0.1:8888"}, kStartTimeout)) << daemon.output();
    // The servers listen from their construction on, before the start-up
    // record; the power module's first poll comes after it (a slow processor
    // shows the gap).
    ASSERT_TRUE(daemon.emulator().waitForRequests(1, std::chrono::seconds(10)));
    // What each port used since its last save belongs to the hour of that save.
    EXPECT_TRUE(eventually([&] { return test::queryText(energy, "select count(*) from statistics") != "0"; }));
    EXPECT_EQ("300", test::queryText(energy, "select energy from statistics where port=0"));
    EXPECT_EQ("40", test::queryText(energy, "select energy from statistics where port=255"));
    EXPECT_EQ("500", test::queryText(energy, "select save_energy from variable where port=0"));
    EXPECT_EQ("1000", test::queryText(energy, "select reference_energy from variable where port=0"));
}

TEST(StartupTest, StartsOnlyTheEnabledPingWatchdogsOfItsOutlets)
{
    test::DaemonProcess daemon;
    test::execSql(daemon.database("pdu.db"),
                  "update ping set ip='127.0.0.1', interval=60, enabled=1 where addr=0 and port=0;"
                  "update ping set ip='127.0.0.1', interval=60, enabled=0 where addr=0 and port=1;"
                  "insert into ping(addr, port, ip, interval, enabled) values (0, 9, '127.0.0.1', 60, 1)");
    ASSERT_TRUE(daemon.start());
    ASSERT_TRUE(daemon.waitListening({"udp 127.0.0.1:8888"}, kStartTimeout)) << daemon.output();
    // One raw ICMP socket per running watchdog, all opened together at the
    // end of the start-up (on a slow processor well after the servers listen).
    std::string raw;
    for (int i = 0; i < 100 && (raw = daemon.runInNamespace("ss -Hwa | wc -l")).compare(0, 2, "0\n") == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ("1", raw.substr(0, raw.find('\n'))) << daemon.runInNamespace("ss -wa");
}
