// A Modbus/TCP coil flood against a module slower than its line that holds its replies now and then, goes silent
// once, and has an outlet over its cut-off limit: the cut-off goes once and in time, the replies the module holds
// back drain once it answers again, and the line is back at its pace as soon as a silence ends.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "e2e/E2eBoard.h"
#include "platform/pmemu/PowerModuleEmulator.h"
#include "src/modbus/ModbusFrames.h"

namespace
{
using e2e::Clock;
using std::chrono::milliseconds;

// Coil writes (function 5) on outlets 1 to 5, on and off in turn, each as soon as the one before is answered;
// a connection that stops answering is opened again. Bounded, whatever happens to the daemon.
class CoilFlood
{
public:
    explicit CoilFlood(const e2e::E2eBoard& board) : board_(board), thread_([this] { run(); }) {}
    ~CoilFlood() { stop(); }
    void stop()
    {
        running_ = false;
        if (thread_.joinable())
            thread_.join();
    }

private:
    void run()
    {
        int fd = -1;
        const auto end = Clock::now() + std::chrono::seconds(120);
        for (uint16_t n = 0; running_ && Clock::now() < end; ++n)
        {
            if (fd < 0 && (fd = board_.connectInNamespace(SOCK_STREAM, 502, 2)) < 0)
            {
                std::this_thread::sleep_for(milliseconds(100));
                continue;
            }
            const auto coil = static_cast<uint16_t>(1 + n % 5);
            const std::string request = mbtest::frame(5, mbtest::be16s({coil, uint16_t(n / 5 % 2 ? 0 : 0xFF00)}), n);
            char answer[64];
            if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) != ssize_t(request.size()) ||
                ::recv(fd, answer, sizeof answer, 0) <= 0)
            {
                ::close(fd);
                fd = -1;
            }
        }
        if (fd >= 0)
            ::close(fd);
    }

    const e2e::E2eBoard& board_;
    std::atomic<bool> running_{true};
    std::thread thread_;
};

// The largest delay between a request and its reply of the replies written from..to.
double latestReply(const pmemu::PowerModuleEmulator& module, Clock::time_point from, Clock::time_point to)
{
    double latest = 0;
    for (const auto& r : module.replyTimes(from))
        if (r.written < to)
            latest = std::max(latest, std::chrono::duration<double>(r.written - r.received).count());
    return latest;
}

// The relay frames the module heard from..to, for one outlet and action or (-1) any.
long relayFrames(const pmemu::PowerModuleEmulator& module, Clock::time_point from, Clock::time_point to,
                 int port = -1, int action = -1)
{
    const auto log = module.requests();
    return std::count_if(log.begin(), log.end(), [&](const pmemu::PmRequest& r) {
        return r.command == 2 && r.received >= from && r.received < to && (port < 0 || r.payload[0] == port) &&
               (action < 0 || r.payload[1] == action);
    });
}
}

TEST(LineFloodEndToEnd, AModuleHoldingItsRepliesUnderAFloodCatchesUp)
{
    e2e::E2eBoard board;
    pmemu::PowerModuleEmulator& module = board.emulator();
    // Outlet 0 on, over its 16 A cut-off limit (pdu.db) from the start, and below the 20 A taken for a bad reading.
    module.model().setRelayBits(0x01);
    module.model().setCurrent(0, 18.0);
    board.sql("outlet.db", "update status set on_off = (port = 0)");
    const int linePace = 1920;  // 19200 baud 8N1
    module.setLinePace(linePace);
    module.setReplyPace(linePace * 65 / 100);
    ASSERT_TRUE(board.start());
    ASSERT_TRUE(board.waitListening({"tcp 0.0.0.0:502"}, 10)) << board.output();
    const auto t0 = Clock::now();
    const auto at = [&](double s) {
        return t0 + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(s));
    };
    const auto hold = [&](double from, double to) {
        std::this_thread::sleep_until(at(from));
        module.holdReplies(true);
        std::this_thread::sleep_until(at(to));
        module.holdReplies(false);
    };
    CoilFlood flood(board);

    // Four holds of 2 s, the cut-off falling due among them: it goes once, in time, and what the holds left waiting
    // has gone by 26 s.
    for (double from : {3.0, 9.0, 15.0, 21.0})
        hold(from, from + 2);
    std::this_thread::sleep_until(at(27));
    EXPECT_EQ(1, relayFrames(module, t0, at(27), 0, 0)) << "the cut-off's off frame, by 27 s";
    EXPECT_LT(latestReply(module, at(26), at(27)), 1.0) << "replies from 26 s on, after their frames";

    // Two holds 0.3 s apart: within 2 s of the release what waits in the module is within the line's window (and
    // a meter reply), and stays so.
    hold(27, 29);
    hold(29.3, 31.3);
    const auto released = Clock::now();
    size_t most = 0;
    for (auto next = released + std::chrono::seconds(2); next < released + std::chrono::seconds(3);
         next += milliseconds(50))
    {
        std::this_thread::sleep_until(next);
        most = std::max(most, module.waitingBytes());
    }
    EXPECT_LE(most, 192u + 22u) << "reply bytes waiting in the module from 2 s after the release";

    // At the line's pace, silent 1.7 s: the line is back at its pace within a quarter second of the module
    // answering again (a quarter second carries 80 relay frames, 70 beside the polls, which keep their rhythm).
    module.setReplyPace(linePace);
    std::this_thread::sleep_until(at(35.3));
    module.setSilent(true);
    std::this_thread::sleep_until(at(37.0));
    module.setSilent(false);
    const auto answering = Clock::now();
    std::this_thread::sleep_until(answering + milliseconds(500));
    EXPECT_GT(relayFrames(module, answering, answering + milliseconds(250)), 30);
    EXPECT_GT(relayFrames(module, answering + milliseconds(250), answering + milliseconds(500)), 60);

    flood.stop();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_EQ(1, relayFrames(module, t0, Clock::now(), 0, 0)) << "the cut-off's frame, once in the whole run";
    EXPECT_FALSE(module.relayBits() & 0x01);
    EXPECT_TRUE(board.running());
}
