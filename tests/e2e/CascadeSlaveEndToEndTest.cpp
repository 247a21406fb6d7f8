// A slave daemon on the simulated board answers the master's identity and
// status polls written on its cascade line, and only those addressed to it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "e2e/E2eBoard.h"
#include "support/ChainLineProcess.h"
#include "support/TestFrames.h"

TEST(CascadeSlaveEndToEnd, TheSlaveDaemonAnswersIdentityAndStatusOnItsLine)
{
    using test::Bytes;
    e2e::E2eBoard board;
    const std::string masterRoot = test::makeTempDir("rb-master");
    test::ChainLineProcess::setRole(board.root(), 3);
    test::ChainLineProcess line({board.root(), masterRoot});
    const int fd = ::open((masterRoot + "/dev/ttyS3").c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(board.start());
    ASSERT_TRUE(line.waitForLog("end 0 opened", 10)) << line.log();
    // The master's side: one request, then the payload of the answer frame.
    uint16_t sequence = 0x8000;
    auto ask = [&](uint8_t address, const Bytes& payload, double seconds) {
        const Bytes frame = test::cascadeFrame(address, ++sequence, payload);
        EXPECT_EQ(static_cast<ssize_t>(frame.size()), ::write(fd, frame.data(), frame.size()));
        Bytes got, answer;
        uint8_t from = 0;
        uint16_t echoed = 0;
        e2e::waitUntil(
            [&] {
                unsigned char chunk[1024];
                for (ssize_t n; (n = ::read(fd, chunk, sizeof chunk)) > 0;)
                    got.insert(got.end(), chunk, chunk + n);
                return test::decodeCascadeFrame(got, from, echoed, answer);
            },
            seconds, 10);
        EXPECT_TRUE(answer.empty() || (from == address && echoed == sequence));
        return answer;
    };
    auto text = [](const Bytes& b, size_t at, size_t n) { return std::string(b.begin() + at, b.begin() + at + n); };

    // Identity: status, identity text, names of outlets 0 to 7 and of the
    // unit, the three inlet limit pairs, firmware.
    Bytes identity;
    ASSERT_TRUE(e2e::waitUntil([&] { return !(identity = ask(3, {0x01}, 0.5)).empty(); }, 10)) << board.output();
    ASSERT_EQ(2u + 16 + 4 + 9 * 16 + 13 + 10, identity.size());
    EXPECT_EQ(std::string("\x01\x00G020300000000001\x80\x00\x00\xFFOutlet1", 29), text(identity, 0, 29));
    EXPECT_EQ("PDU", text(identity, 22 + 8 * 16, 3));
    EXPECT_EQ("1.0.0", text(identity, identity.size() - 10, 5));

    // Status of everything: states, environment, inlet, then eight outlets.
    const Bytes status = ask(3, {0x07, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 3);
    ASSERT_EQ(3u + 4 + 4 + 14 + 4 + 8 * 14, status.size());
    EXPECT_EQ(std::string("\x07\x00\x07", 3), text(status, 0, 3));
    EXPECT_EQ(std::string("\x00\x00\x00\xFF", 4), text(status, 25, 4));

    // Another unit's request, or a cut one, is not answered; the slave goes on.
    EXPECT_TRUE(ask(4, {0x01}, 0.5).empty());
    EXPECT_TRUE(ask(3, {0x07, 0xFF}, 0.5).empty());
    EXPECT_EQ(8u, ask(3, {0x14}, 3).size());
    EXPECT_TRUE(board.running());
    ::close(fd);
    test::removeTree(masterRoot);
}
