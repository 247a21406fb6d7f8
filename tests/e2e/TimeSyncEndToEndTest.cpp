// chronyd, a real NTP server, sets the daemon's (simulated) clock; a
// scheduled task then fires at its wall-clock time.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <ctime>

#include "e2e/BoardPeer.h"
#include "e2e/E2eBoard.h"
#include "platform/pmemu/PowerModuleEmulator.h"

namespace
{
const long long kDayMicros = 86400LL * 1000000;

std::string localText(time_t t, const char* format)
{
    char text[32];
    tm local;
    ::localtime_r(&t, &local);
    std::strftime(text, sizeof text, format, &local);
    return text;
}

TEST(TimeSyncEndToEnd, ChronydSetsTheClockAndATaskFiresAtItsTime)
{
    e2e::E2eBoard board;
    board.writeFile("/chrony.conf", "local stratum 8\nallow 127.0.0.1\nbindaddress 127.0.0.1\nport 123\n"
                                    "cmdport 0\npidfile " + board.root() + "/chronyd.pid\n");
    board.sql("pdu.db", "update settings set value='127.0.0.1' where name in ('ntp_server_ip', 'second_ntp_server_ip')");
    // A one-time task switching outlet 2 on, due a few seconds after start.
    const time_t due = std::time(nullptr) + 10;
    board.sql("pdu.db", "insert into tasks(addr, ports, action, date, time, repeat, remark) values(0, 4, 1, '"
                            + localText(due, "%Y-%m-%d") + "', '" + localText(due, "%H:%M:%S") + "', 0, 'e2e')");
    // The board's clock starts a day late: only the NTP answer brings the
    // task's time near.
    board.setClockOffsetMicros(-kDayMicros);
    std::atomic<long long> switchedAt{0};
    board.emulator().setRelayListener([&](uint8_t bits) {
        if ((bits & 4) && !switchedAt)
            switchedAt = static_cast<long long>(std::time(nullptr));
    });

    ASSERT_TRUE(board.start());
    ASSERT_TRUE(e2e::waitUntil([&] { return board.daemonPid() > 0; }, 5));
    // Should the daemon ask before chronyd listens, its second server is
    // tried after the first one's 5 s time-out.
    e2e::BoardPeer chronyd(board.daemonPid(), {"chronyd", "-x", "-d", "-u", "root", "-f", board.root() + "/chrony.conf"},
                           board.root() + "/chronyd.log");

    ASSERT_TRUE(e2e::waitUntil([&] { return std::llabs(board.clockOffsetMicros()) < 2000000; }, 9))
        << "offset " << board.clockOffsetMicros() << "\n" << board.file("/chronyd.log") << board.output();
    EXPECT_TRUE(e2e::waitUntil(
        [&] { return board.file("/var/log/hwclock.calls").find("hwclock -w") != std::string::npos; }, 3));
    EXPECT_TRUE(chronyd.running()) << board.file("/chronyd.log");

    ASSERT_TRUE(e2e::waitUntil([&] { return switchedAt != 0; }, static_cast<double>(due - std::time(nullptr) + 4)))
        << board.output();
    EXPECT_GE(switchedAt.load(), static_cast<long long>(due) - 1);
    EXPECT_LE(switchedAt.load(), static_cast<long long>(due) + 2);
    EXPECT_TRUE(e2e::waitUntil([&] { return board.sql("outlet.db", "select on_off from status where port=2") == "1"; }, 3));
    board.emulator().setRelayListener(nullptr);
}
}
