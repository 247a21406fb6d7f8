// The benchmark programs run for a moment against the reference server; the
// figures are only checked for being there, never for a time.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "LatencyHistogram.h"
#include "e2e/E2eBoard.h"
#include "support/NetNamespace.h"
#include "support/TempBoard.h"

namespace
{
std::string tool(const std::string& name) { return test::buildPath("bench/" + name); }

// A child with its standard output on a pipe.
struct Child
{
    pid_t pid = -1;
    FILE* out = nullptr;

    explicit Child(const std::vector<std::string>& args)
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        pid = ::fork();
        if (pid == 0)
        {
            ::dup2(fds[1], STDOUT_FILENO);
            ::close(fds[0]);
            ::close(fds[1]);
            std::vector<char*> argv;
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        out = ::fdopen(fds[0], "r");
    }
    ~Child()
    {
        if (pid > 0)
        {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
        if (out)
            ::fclose(out);
    }
    std::string line()
    {
        char buf[1024];
        return out && std::fgets(buf, sizeof buf, out) ? std::string(buf) : std::string();
    }
    // The exit code after the child ended by itself.
    int wait()
    {
        int status = 0;
        ::waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

// The value of key=value in a line of figures.
std::string figure(const std::string& line, const std::string& key)
{
    size_t at = line.find(" " + key + "=");
    if (at == std::string::npos)
        return "";
    at += key.size() + 2;
    return line.substr(at, line.find_first_of(" \n", at) - at);
}

// Starts the reference server on a free port and returns the port.
std::string startReference(Child& server)
{
    std::string first = server.line();
    return first.compare(0, 5, "port ") == 0 ? first.substr(5, first.find('\n') - 5) : "";
}
}

TEST(BenchSmokeTest, LoadGeneratorExchangesRequestsWithTheReferenceServer)
{
    Child server({tool("bench_modbus_reference"), "--port", "0"});
    std::string port = startReference(server);
    ASSERT_FALSE(port.empty());

    Child load({tool("bench_modbus_load"), "--port", port, "--connections", "2", "--seconds", "2"});
    std::string line = load.line();
    EXPECT_EQ(0, load.wait()) << line;
    EXPECT_EQ("2", figure(line, "connected")) << line;
    EXPECT_EQ("0", figure(line, "errors")) << line;
    EXPECT_GT(std::stol(figure(line, "requests")), 0) << line;
    EXPECT_FALSE(figure(line, "p99_us").empty()) << line;
}

TEST(BenchSmokeTest, LoadGeneratorFailsWithoutServer)
{
    // A port nobody listens on: connections are refused at once.
    Child server({tool("bench_modbus_reference"), "--port", "0"});
    std::string port = startReference(server);
    ASSERT_FALSE(port.empty());
    ::kill(server.pid, SIGTERM);
    server.wait();

    Child load({tool("bench_modbus_load"), "--port", port, "--seconds", "0.2"});
    std::string line = load.line();
    EXPECT_EQ(1, load.wait()) << line;
    EXPECT_EQ("0", figure(line, "connected")) << line;
}

TEST(BenchSmokeTest, IdleCostReadsTheProcessFigures)
{
    Child server({tool("bench_modbus_reference"), "--port", "0"});
    ASSERT_FALSE(startReference(server).empty());

    Child idle({tool("bench_idle_cost"), "--pid", std::to_string(server.pid), "--seconds", "1", "--interval", "0.2"});
    std::string line = idle.line();
    EXPECT_EQ(0, idle.wait()) << line;
    EXPECT_GT(std::stol(figure(line, "rss_kb_max")), 0) << line;
    EXPECT_FALSE(figure(line, "cpu_ms_per_s").empty()) << line;
}

TEST(BenchSmokeTest, StartupTimerTimesTheFirstAnswer)
{
    RAILBOX_RUN_IN_NETNS();  // a fixed port, known before the server runs
    Child timer({tool("bench_startup_timer"), "--port", "1502", "--runs", "2", "--pause", "0.1", "--timeout", "10",
                 "--", tool("bench_modbus_reference"), "--port", "1502"});
    std::string last, line;
    while (!(line = timer.line()).empty())
        last = line;
    EXPECT_EQ(0, timer.wait()) << last;
    EXPECT_EQ("2", figure(" " + last, "runs")) << last;
    EXPECT_FALSE(figure(last, "startup_ms_median").empty()) << last;
}

TEST(BenchSmokeTest, LatencyQuantilesComeFromTheBuckets)
{
    LatencyHistogram a, b;
    for (int i = 1; i <= 98; ++i)
        a.add(10000);  // 10 us
    b.add(50000);
    b.add(LatencyHistogram::kLimitNanos * 2);  // beyond the last bucket
    a.merge(b);
    EXPECT_EQ(100u, a.count());
    EXPECT_NEAR(10.0, a.quantileMicros(0.5), 0.1);
    EXPECT_NEAR(50.0, a.quantileMicros(0.99), 0.1);
    EXPECT_DOUBLE_EQ(LatencyHistogram::kLimitNanos * 2 / 1000.0, a.quantileMicros(1.0));
    EXPECT_EQ(0.0, LatencyHistogram().quantileMicros(0.99));
}

TEST(BenchSmokeTest, ChainFiguresComeFromTheLinesLog)
{
    // A status poll of 19 bytes, its 15-byte answer, the next poll 0.51 s on.
    const std::string log = test::makeTempDir("rb-chainlog") + "/chainline.log";
    std::FILE* out = std::fopen(log.c_str(), "w");
    ASSERT_NE(nullptr, out);
    std::fputs("20261207 10:00:00.000000 end 0 opened\n"
               "20261207 10:00:00.000000 end 0 > a5 01 00 00 00 00 00 00 06 ff ff ff f9 07 ff ff ff ff ff\n"
               "20261207 10:00:00.006000 end 1 > a5 01 00 00 00 00 00 00 02 ff ff\n"
               "20261207 10:00:00.006500 end 1 > ff fd 07 01\n"
               "20261207 10:00:00.510000 end 0 > a5 01 00 01 00 00 00 00 06 ff ff ff f9 07 ff ff ff ff ff\n",
               out);
    std::fclose(out);
    Child chain({tool("bench_cascade_chain"), "--log", log, "--slaves", "1", "--requests", "0"});
    const std::string line = " " + chain.line();
    EXPECT_EQ(0, chain.wait()) << line;
    EXPECT_EQ("1", figure(line, "polls")) << line;
    EXPECT_EQ("10.0", figure(line, "poll_exchange_ms")) << line;
    EXPECT_EQ("8.9", figure(line, "poll_wire_ms")) << line;
    EXPECT_EQ("1.13", figure(line, "poll_ratio")) << line;
    EXPECT_EQ("510", figure(line, "poll_period_ms")) << line;
    test::removeTree(log.substr(0, log.rfind('/')));
}

TEST(BenchSmokeTest, RequestMemoryAsksTheDaemonAndReadsItsResidentSize)
{
    e2e::E2eBoard board;
    ASSERT_TRUE(board.start());
    ASSERT_TRUE(board.waitListening({"udp 127.0.0.1:8888", "tcp 0.0.0.0:8890"}, 10)) << board.output();
    int status = -1;
    const std::string line = " " + board.runInNamespace(tool("bench_request_memory") + " --pid " +
                                                            std::to_string(board.daemonPid()) +
                                                            " --web-requests 40 --log-queries 2", &status);
    EXPECT_EQ(0, status) << line;
    EXPECT_EQ("40", figure(line, "web_answered")) << line;
    EXPECT_EQ("2", figure(line, "log_answered")) << line;
    EXPECT_EQ("0", figure(line, "log_rows")) << line;  // a fresh board's log is empty
    EXPECT_GT(std::stol(figure(line, "rss_after_logs_kb")), 0) << line;
}
