// A Modbus/TCP coil flood against a module slower than its line that holds its replies now and then, goes
// silent once, and has an outlet over its cut-off limit: the cut-off goes once and in time, the replies the
// module holds back drain once it answers again, and the line is back at its pace as soon as a silence ends.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "e2e/E2eBoard.h"
#include "platform/pmemu/PmMeterModel.h"
#include "platform/pmemu/PowerModuleEmulator.h"
#include "src/modbus/ModbusFrames.h"

namespace
{
using e2e::Clock;
using std::chrono::milliseconds;

Clock::duration secondsOf(double s)
{
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(s));
}

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// Coil writes on outlets 1 to 5, on and off in turn, on two connections (function 5 on one, 15 on the other),
// each sent as soon as the one before on its connection is answered. A connection whose answer does not come
// within its receive time-out is opened again.
class CoilFlood
{
public:
    explicit CoilFlood(e2e::E2eBoard& board) : board_(board), thread_([this] { run(); }) {}
    ~CoilFlood() { stop(); }

    void stop()
    {
        running_ = false;
        if (thread_.joinable())
            thread_.join();
    }

    std::atomic<long> accepted{0}, refused{0}, lost{0};

private:
    struct Connection
    {
        int fd = -1;
        uint8_t function = 5;
        uint16_t tid = 0;
        long sent = 0;
    };

    void run()
    {
        Connection connections[2];
        connections[1].function = 15;
        // Bounded, whatever happens to the daemon or the test.
        const auto end = Clock::now() + std::chrono::seconds(120);
        while (running_ && Clock::now() < end)
        {
            for (Connection& c : connections)
                if (c.fd < 0 || !send(c))
                    reopen(c);
            for (Connection& c : connections)
                if (c.fd >= 0 && !answered(c))
                    reopen(c);
        }
        for (Connection& c : connections)
            if (c.fd >= 0)
                ::close(c.fd);
    }

    void reopen(Connection& c)
    {
        if (c.fd >= 0)
            ::close(c.fd);
        c.fd = board_.connectInNamespace(SOCK_STREAM, 502, 2);
        if (c.fd < 0)
        {
            std::this_thread::sleep_for(milliseconds(100));
            return;
        }
        const timeval wait = {2, 0};
        ::setsockopt(c.fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
        if (!send(c))
        {
            ::close(c.fd);
            c.fd = -1;
        }
    }

    bool send(Connection& c)
    {
        const uint16_t coil = static_cast<uint16_t>(1 + c.sent % 5);
        const bool on = (c.sent / 5) % 2 == 0;
        ++c.sent;
        mbtest::Bytes data = c.function == 5 ? mbtest::be16s({coil, static_cast<uint16_t>(on ? 0xFF00 : 0)})
                                             : mbtest::be16s({coil, 1});
        if (c.function == 15)
            data.insert(data.end(), {1, static_cast<uint8_t>(on)});
        const std::string request = mbtest::frame(c.function, data, ++c.tid);
        return ::send(c.fd, request.data(), request.size(), MSG_NOSIGNAL) == ssize_t(request.size());
    }

    // Reads one answer: the 6-byte header, then the length it gives.
    bool answered(Connection& c)
    {
        uint8_t head[6];
        std::vector<uint8_t> rest;
        if (readAll(c.fd, head, sizeof head))
            rest.resize(static_cast<size_t>(head[4] << 8 | head[5]));
        if (rest.size() < 2 || rest.size() > 256 || !readAll(c.fd, rest.data(), rest.size())
            || (head[0] << 8 | head[1]) != c.tid)
        {
            ++lost;
            return false;
        }
        ++(rest[1] & 0x80 ? refused : accepted);
        return true;
    }

    static bool readAll(int fd, uint8_t* to, size_t n)
    {
        for (size_t got = 0; got < n;)
        {
            const ssize_t r = ::recv(fd, to + got, n - got, 0);
            if (r <= 0)
                return false;
            got += static_cast<size_t>(r);
        }
        return true;
    }

    e2e::E2eBoard& board_;
    std::atomic<bool> running_{true};
    std::thread thread_;
};

// Relay frames for a port and action the module heard.
std::vector<pmemu::PmRequest> relayFrames(const std::vector<pmemu::PmRequest>& log, int port, int action)
{
    std::vector<pmemu::PmRequest> out;
    for (const pmemu::PmRequest& r : log)
        if (r.command == 2 && r.payload.size() == 2 && (port < 0 || r.payload[0] == port)
            && (action < 0 || r.payload[1] == action))
            out.push_back(r);
    return out;
}

// Of the replies written from..to: how many, how many came over 1 s after their frames, the latest (seconds).
size_t lateReplies(const pmemu::PowerModuleEmulator& module, Clock::time_point from, Clock::time_point to,
                   size_t& replies, double& latest)
{
    size_t late = 0;
    replies = 0;
    latest = 0;
    for (const pmemu::PowerModuleEmulator::ReplyTime& r : module.replyTimes(from))
    {
        if (r.written >= to)
            break;
        const double lateBy = seconds(r.written - r.received);
        ++replies;
        late += lateBy > 1.0;
        latest = std::max(latest, lateBy);
    }
    return late;
}

std::string times(const std::vector<pmemu::PmRequest>& frames, Clock::time_point t0)
{
    std::string text;
    char one[16];
    for (const pmemu::PmRequest& f : frames)
    {
        std::snprintf(one, sizeof one, " %.2f", seconds(f.received - t0));
        text += one;
    }
    return text.empty() ? " none" : text;
}

TEST(LineFloodEndToEnd, AModuleHoldingItsRepliesUnderAFloodCatchesUp)
{
    e2e::E2eBoard board;
    pmemu::PowerModuleEmulator& module = board.emulator();
    // Outlet 0 on and over its 16 A cut-off limit (pdu.db) from the start: switched off after 20 s of it. Below
    // 20 A, which the unit takes for a bad reading of an outlet.
    module.model().setRelayBits(0x01);
    module.model().setCurrent(0, 18.0);
    board.sql("outlet.db", "update status set on_off = (port = 0)");
    const int linePace = 1920;  // 19200 baud 8N1
    module.setLinePace(linePace);
    module.setReplyPace(linePace * 65 / 100);
    ASSERT_TRUE(board.start());
    ASSERT_TRUE(board.waitListening({"tcp 0.0.0.0:502"}, 10)) << board.output();

    const auto t0 = Clock::now();
    const auto at = [&](double s) { return t0 + secondsOf(s); };
    CoilFlood flood(board);
    size_t most = 0;  // reply bytes waiting in the module, the most seen
    const auto idleUntil = [&](double s) {
        while (Clock::now() < at(s))
        {
            most = std::max(most, module.waitingBytes());
            std::this_thread::sleep_for(std::min<Clock::duration>(milliseconds(50), at(s) - Clock::now()));
        }
    };

    // Phase 1: four holds of 2 s, the cut-off falling due among them.
    for (double hold : {3.0, 9.0, 15.0, 21.0})
    {
        idleUntil(hold);
        module.holdReplies(true);
        idleUntil(hold + 2);
        module.holdReplies(false);
    }
    idleUntil(27);
    const std::vector<pmemu::PmRequest> cutOff = relayFrames(module.requests(), 0, 0);
    EXPECT_EQ(1u, cutOff.size()) << "the cut-off's off frame reaches the module once, by 27 s";
    // What the holds left waiting has gone by 26 s: every reply since came within 1 s of its frame.
    size_t replies = 0, from26 = 0;
    double latest = 0, latestFrom26 = 0;
    const size_t late = lateReplies(module, at(26), at(27), from26, latestFrom26);
    EXPECT_GT(from26, 0u);
    EXPECT_EQ(0u, late) << "of " << from26 << " replies written from 26 s on, the latest " << latestFrom26 << " s";
    const size_t late1 = lateReplies(module, t0, at(27), replies, latest);
    std::printf("phase 1: reply bytes waiting in the module at most %zu; cut-off frames at%s s; replies up to %.2f s "
                "after their frames, %zu of %zu over 1 s, from 26 s on %zu of %zu (latest %.2f s); coil writes "
                "accepted %ld, refused %ld, unanswered %ld\n",
                most, times(cutOff, t0).c_str(), latest, late1, replies, late, from26, latestFrom26,
                flood.accepted.load(), flood.refused.load(), flood.lost.load());

    // Phase 2: two holds 0.3 s apart; what waits in the module falls to 0.1 s of line and a meter reply.
    most = 0;
    module.holdReplies(true);
    idleUntil(29);
    module.holdReplies(false);
    idleUntil(29.3);
    module.holdReplies(true);
    idleUntil(31.3);
    module.holdReplies(false);
    const auto released = Clock::now();
    const size_t bound = 192 + 22;
    std::vector<size_t> waiting;
    for (auto next = released; next <= released + std::chrono::seconds(3); next += milliseconds(50))
    {
        std::this_thread::sleep_until(next);
        waiting.push_back(module.waitingBytes());
    }
    const auto fell = std::find_if(waiting.begin(), waiting.end(), [&](size_t bytes) { return bytes <= bound; });
    const size_t fellAfter = static_cast<size_t>(fell - waiting.begin()) * 50;
    const size_t mostAfter = fell == waiting.end() ? 0 : *std::max_element(fell, waiting.end());
    EXPECT_LE(fellAfter, 2000u) << "ms after the release, " << waiting.front() << " bytes waiting at it";
    EXPECT_LE(mostAfter, bound);
    const size_t late2 = lateReplies(module, at(27), Clock::now(), replies, latest);
    const std::string fall = fell == waiting.end() ? "never at 214 bytes or less within 3 s"
                                                   : "at most 214 bytes " + std::to_string(fellAfter)
                                                         + " ms after it, then at most " + std::to_string(mostAfter);
    std::printf("phase 2: reply bytes waiting in the module at most %zu, %zu at the release, %zu 1 s after, %zu 2 s "
                "after, %zu 3 s after; %s; replies up to %.2f s after their frames, %zu of %zu over 1 s\n",
                most, waiting.front(), waiting[20], waiting[40], waiting.back(), fall.c_str(), latest, late2, replies);

    // Phase 3: at the line's pace, silent 1.7 s: the line is back at its pace (80 relay frames a quarter second)
    // within a quarter second of the module answering again.
    module.setReplyPace(linePace);
    const auto paced = Clock::now();
    idleUntil(35.3);
    module.setSilent(true);
    const auto silent = Clock::now();
    idleUntil(37.0);
    module.setSilent(false);
    const auto answering = Clock::now();
    idleUntil(37.6);
    const std::vector<pmemu::PmRequest> relays = relayFrames(module.requests(), -1, -1);
    const auto within = [&](Clock::time_point from, Clock::time_point to) {
        return std::count_if(relays.begin(), relays.end(),
                             [&](const pmemu::PmRequest& r) { return r.received >= from && r.received < to; });
    };
    const long after = within(answering, answering + milliseconds(250));
    EXPECT_GT(after, 30) << "relay frames in the first quarter second after the silence";
    EXPECT_GT(within(answering + milliseconds(250), answering + milliseconds(500)), 70) << "in the second";
    const size_t late3 = lateReplies(module, paced, Clock::now(), replies, latest);
    std::printf("phase 3: relay frames in a quarter second: %ld before the silence, %ld in its last, %ld after it; "
                "replies up to %.2f s after their frames, %zu of %zu over 1 s\n",
                within(silent - milliseconds(250), silent), within(answering - milliseconds(250), answering), after,
                latest, late3, replies);

    flood.stop();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_EQ(1u, relayFrames(module.requests(), 0, 0).size()) << "the cut-off's frame, once in the whole run";
    EXPECT_FALSE(module.relayBits() & 0x01);
    EXPECT_TRUE(board.running());
}
}
