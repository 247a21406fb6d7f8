// kill -9 at random moments while the config port is writing settings: what
// was answered "saved" survives, no database is corrupt, the daemon starts.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <random>

#include "e2e/E2eBoard.h"

namespace
{
const char* const kUid = "G020300000000001";  // the factory identity: eight outlets

// Config-port frame 18: identity text, device name and NetBIOS name.
std::string identityFrame(const std::string& name, const std::string& netbios)
{
    std::string frame("\xA4\x31\x12", 3);
    for (const std::string& field : {std::string(kUid), name, netbios})
        frame += field + std::string(16 - field.size(), '\0');
    return frame;
}

struct Writes
{
    std::mutex mutex;
    std::vector<std::string> sent;  // device names in the order sent
    int lastSaved = -1;             // index in sent of the last "saved" answer
};

void writeUntilStopped(int fd, int iteration, Writes& writes, const std::atomic<bool>& stop)
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(6666);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    timeval wait{0, 300000};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    for (int n = 0; !stop; ++n)
    {
        const std::string name = "n" + std::to_string(iteration) + "-" + std::to_string(n);
        int index;
        {
            std::lock_guard<std::mutex> lock(writes.mutex);
            index = static_cast<int>(writes.sent.size());
            writes.sent.push_back(name);
        }
        const std::string frame = identityFrame(name, "N" + std::to_string(iteration) + "X" + std::to_string(n));
        ::sendto(fd, frame.data(), frame.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        unsigned char reply[64];
        const ssize_t got = ::recv(fd, reply, sizeof reply, 0);
        if (got == 20 && reply[0] == 0xA4 && reply[2] == 18 && reply[3] == 0)
        {
            std::lock_guard<std::mutex> lock(writes.mutex);
            writes.lastSaved = index;
        }
    }
}

TEST(DurabilityEndToEnd, KillNineWhileWritingSettingsLosesNothingSaved)
{
    e2e::E2eBoard board;
    std::random_device seedSource;
    const unsigned seed = seedSource();
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    Writes writes;
    int killedWhileWriting = 0;
    for (int iteration = 0; iteration < 20; ++iteration)
    {
        SCOPED_TRACE("iteration " + std::to_string(iteration));
        ASSERT_TRUE(board.start());
        // Some kills land during start-up, most while writes go on.
        const int killAfterMs = std::uniform_int_distribution<int>(0, 10)(random) < 2
                                    ? std::uniform_int_distribution<int>(0, 150)(random)
                                    : -std::uniform_int_distribution<int>(20, 350)(random);
        std::atomic<bool> stop{false};
        std::thread writer;
        if (killAfterMs >= 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(killAfterMs));
        else
        {
            ASSERT_TRUE(board.waitListening({"udp 0.0.0.0:6666"}, 15)) << board.output();
            const int fd = board.udpSocketInNamespace();
            ASSERT_GE(fd, 0);
            writer = std::thread([&, fd] {
                writeUntilStopped(fd, iteration, writes, stop);
                ::close(fd);
            });
            std::this_thread::sleep_for(std::chrono::milliseconds(-killAfterMs));
            ++killedWhileWriting;
        }
        board.kill9();
        stop = true;
        if (writer.joinable())
            writer.join();
        board.waitExit(5);

        for (const char* db : {"pdu.db", "pdu_default.db", "energy.db", "outlet.db"})
            ASSERT_EQ("ok", board.sql(db, "pragma integrity_check")) << db;
        const std::string stored = board.sql("pdu.db", "select name from pdu_names where addr=0");
        std::lock_guard<std::mutex> lock(writes.mutex);
        if (writes.lastSaved >= 0)
        {
            // The last saved name, or one sent after it whose answer the kill cut off.
            const auto first = writes.sent.begin() + writes.lastSaved;
            EXPECT_NE(writes.sent.end(), std::find(first, writes.sent.end(), stored))
                << "stored " << stored << ", last saved " << *first;
            // The factory-default copy is written right after pdu.db: the same
            // holds for it, though a kill between the two may part them.
            const std::string copy = board.sql("pdu_default.db", "select name from pdu_names where addr=0");
            EXPECT_NE(writes.sent.end(), std::find(first, writes.sent.end(), copy)) << "copy " << copy;
        }
    }
    EXPECT_GE(killedWhileWriting, 5);
    EXPECT_GE(writes.lastSaved, 0);
    // And it still starts and answers after all that.
    ASSERT_TRUE(board.start());
    EXPECT_TRUE(board.waitListening({"udp 0.0.0.0:6666", "tcp 0.0.0.0:502"}, 15)) << board.output();
}
}
