// What a unit that runs for months meets every day, on the real daemon: web pages polling the status, event-log
// downloads, a flood of test mails. Memory comes back after every request, and the mail program runs once at a
// time and is reaped.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "e2e/E2eBoard.h"
#include "support/TestFrames.h"

namespace
{
#if defined(__SANITIZE_ADDRESS__)
const bool kMemoryFigures = false;  // the sanitizer's quarantine keeps freed memory
const int kStatusQueries = 2000, kLogQueries = 10;
#else
const bool kMemoryFigures = true;
const int kStatusQueries = 40000, kLogQueries = 150;
#endif

std::string exchange(int fd, const std::string& request)
{
    char answer[4096];
    const ssize_t n = ::send(fd, request.data(), request.size(), 0) > 0 ? ::recv(fd, answer, sizeof answer, 0) : -1;
    return n < 0 ? "<none>" : std::string(answer, static_cast<size_t>(n));
}

// One manage-control reply frame: its data.
std::string replyData(int fd)
{
    std::string bytes;
    char chunk[65536];
    size_t want = 7;
    for (ssize_t n; bytes.size() < want && (n = ::recv(fd, chunk, sizeof chunk, 0)) > 0;)
    {
        bytes.append(chunk, static_cast<size_t>(n));
        if (bytes.size() >= 7)
            want = 7 + (static_cast<size_t>(static_cast<unsigned char>(bytes[3])) << 24 |
                        static_cast<size_t>(static_cast<unsigned char>(bytes[4])) << 16 |
                        static_cast<size_t>(static_cast<unsigned char>(bytes[5])) << 8 |
                        static_cast<unsigned char>(bytes[6]));
    }
    return bytes.size() >= want ? bytes.substr(7, want - 7) : std::string();
}

// The daemon's children: (all, zombies).
std::pair<int, int> childrenOf(pid_t parent)
{
    std::pair<int, int> found(0, 0);
    DIR* proc = ::opendir("/proc");
    while (dirent* entry = proc ? ::readdir(proc) : nullptr)
    {
        std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
        std::string text;
        if (!std::getline(stat, text) || text.rfind(')') == std::string::npos)
            continue;
        std::istringstream fields(text.substr(text.rfind(')') + 2));
        char state = 0;
        pid_t ppid = 0;
        fields >> state >> ppid;
        if (ppid == parent)
        {
            ++found.first;
            found.second += state == 'Z';
        }
    }
    if (proc)
        ::closedir(proc);
    return found;
}
}

TEST(LongRunEndToEnd, StatusPollsAndEventLogDownloadsCostNoLastingMemory)
{
    e2e::E2eBoard board;
    board.sql("pdu.db", "with recursive n(i) as (select 1 union all select i + 1 from n where i < 1000) "
                        "insert into system_logs(type, content, is_read, datetime) select 4, "
                        "'{\"type\":4,\"port\":' || (i % 8) || ',\"desc\":4}', 0, '2024-05-06 07:08:09' from n");
    ASSERT_TRUE(board.start());
    ASSERT_TRUE(board.waitListening({"udp 127.0.0.1:8888", "tcp 0.0.0.0:8890"}, 10)) << board.output();
    const int web = board.connectInNamespace(SOCK_DGRAM, 8888, 3);
    const int mgrCtrl = board.connectInNamespace(SOCK_STREAM, 8890, 3);
    ASSERT_TRUE(web >= 0 && mgrCtrl >= 0);
    const std::string status = R"({"request":3,"content":{"query":[{"addr":0,"on_off":true,"temp_hum":true,)"
                               R"("input":true,"output":255}]}})";
    const std::string logQuery = test::mgrCtrlFrame(1, test::bytesOfHex("41 00 00 18 01 01 19 01 01"));
    auto round = [&](int statusQueries, int logQueries) {
        for (int i = 0; i < statusQueries; ++i)
            if (exchange(web, status).find("\"result\":0") == std::string::npos)
                return false;
        for (int i = 0; i < logQueries; ++i)
        {
            if (::send(mgrCtrl, logQuery.data(), logQuery.size(), 0) != ssize_t(logQuery.size()))
                return false;
            if (replyData(mgrCtrl).substr(0, 4) != std::string("\x41\x00\x03\xE8", 4))  // 1000 rows
                return false;
        }
        return true;
    };
    ASSERT_TRUE(round(kStatusQueries / 8, kLogQueries / 8));  // warm-up: every pool and cache at its size
    const long before = board.daemonRssKilobytes();
    ASSERT_TRUE(round(kStatusQueries, kLogQueries));
    const long after = board.daemonRssKilobytes();
    ::close(web);
    ::close(mgrCtrl);
    EXPECT_TRUE(board.running());
    if (!kMemoryFigures)
        GTEST_SKIP() << "memory not measured under the sanitizer";
    ASSERT_GT(before, 0);
    EXPECT_LT(after - before, 2048) << before << " KiB before, " << after << " KiB after";
}

TEST(LongRunEndToEnd, AFloodOfTestMailsRunsOneMailProgramAtATime)
{
    e2e::E2eBoard board;
    // A mail program that takes its time, noting when it starts and ends.
    board.writeFile("/usr/app/email", "#!/bin/sh\nruns=\"$RAILBOX_ROOT/var/log/mail-runs\"\n"
                                      "echo start >> \"$runs\"\nsleep 0.5\necho end >> \"$runs\"\n");
    ::chmod((board.root() + "/usr/app/email").c_str(), 0755);
    ASSERT_TRUE(board.start());
    ASSERT_TRUE(board.waitListening({"udp 127.0.0.1:8888"}, 10)) << board.output();
    const pid_t pid = board.daemonPid();
    const int web = board.connectInNamespace(SOCK_DGRAM, 8888, 3);
    const std::string mail = R"({"request":16,"content":{"smtp_server":"mx","smtp_port":25,"user":"u",)"
                             R"("password":"p","receiver":"r@example.org","content":"test"}})";
    int handedOver = 0, refused = 0;
    for (int i = 0; i < 60; ++i)
    {
        const std::string answer = exchange(web, mail);
        handedOver += answer == R"({"response":16,"result":0})";
        refused += answer == R"({"response":16,"result":-1})";
    }
    ::close(web);
    EXPECT_EQ(60, handedOver + refused);
    EXPECT_GE(handedOver, 1);
    EXPECT_LE(handedOver, 6);  // one running, two waiting, and those that found a place freed meanwhile
    int most = 0;  // children of the daemon at once
    auto ended = [&] {
        const std::string runs = board.file("/var/log/mail-runs");
        size_t n = 0;
        for (size_t at = 0; (at = runs.find("end\n", at)) != std::string::npos; ++at)
            ++n;
        return n;
    };
    EXPECT_TRUE(e2e::waitUntil([&] {
        most = std::max(most, childrenOf(pid).first);
        return ended() >= size_t(handedOver);
    }, 5 + handedOver * 2.0, 20));
    EXPECT_EQ(1, most);
    std::string expected;
    for (int i = 0; i < handedOver; ++i)
        expected += "start\nend\n";
    EXPECT_EQ(expected, board.file("/var/log/mail-runs"));
    EXPECT_TRUE(e2e::waitUntil([&] { return childrenOf(pid) == std::make_pair(0, 0); }, 3)) << "reaped";
    EXPECT_TRUE(board.running());
}
