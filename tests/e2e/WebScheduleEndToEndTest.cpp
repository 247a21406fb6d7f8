// socat, a UDP client from outside, sets the board's clock and adds a scheduled task over the web port; the task
// switches the emulator's outlet at its time on the simulated clock. The test mail and the reboot reach the
// board's stand-ins with their exact arguments.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "e2e/E2eBoard.h"
#include "platform/pmemu/PowerModuleEmulator.h"
#include "support/ClockShift.h"

namespace
{
// Setting the clock runs hwclock first: under emulation on a busy machine that takes longer than half a second.
std::string ask(const e2e::E2eBoard& board, const std::string& request)
{
    return board.sh("printf '%s' " + e2e::E2eBoard::quote(request) + " | socat -t 3 - UDP:127.0.0.1:8888");
}

double hostSeconds()
{
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}
}

TEST(WebScheduleEndToEnd, ATaskAddedOverTheWebFiresOnTheBoardClock)
{
    e2e::E2eBoard board;
    std::atomic<double> switchedAt{0};
    board.emulator().setRelayListener([&](uint8_t bits) {
        if ((bits & 4) && switchedAt == 0)
            switchedAt = hostSeconds();
    });
    ASSERT_TRUE(board.start());
    ASSERT_TRUE(board.waitListening({"udp 127.0.0.1:8888"}, 10)) << board.output();

    EXPECT_EQ(R"({"response":12,"result":0})",
              ask(board, R"({"request":12,"content":{"time":{"year":2030,"month":6,"day":1,"hour":7,"minute":59,"second":55}}})"));
    EXPECT_TRUE(e2e::waitUntil([&] { return board.file("/var/log/hwclock.calls") == "hwclock -w\n"; }, 3));
    EXPECT_EQ(R"({"response":27,"result":0,"content":{"addr":0,"id":1}})",
              ask(board, R"({"request":27,"content":{"ports":[2],"action":1,"repeat":0,"remark":"e2e",)"
                         R"("time":{"year":2030,"month":6,"day":1,"hour":8,"minute":0,"second":0}}})"));
    EXPECT_EQ("1|4|2030-06-01|08:00:00", board.sql("pdu.db", "select id||'|'||ports||'|'||date||'|'||time from tasks"));

    ASSERT_TRUE(e2e::waitUntil([&] { return switchedAt != 0; }, 9)) << board.output();
    const double boardSeconds = switchedAt + static_cast<double>(board.clockOffsetMicros()) / 1e6;
    const double due = static_cast<double>(test::ClockShift::localSeconds(2030, 6, 1, 8, 0, 0));
    EXPECT_GE(boardSeconds, due - 0.5);
    EXPECT_LE(boardSeconds, due + 2);
    board.emulator().setRelayListener(nullptr);

    EXPECT_EQ(R"({"response":16,"result":0})",
              ask(board, R"({"request":16,"content":{"smtp_server":"mail.example.org","smtp_port":587,"user":"ops",)"
                         R"("password":"s3 cret","receiver":"noc@example.org","content":"Test from the rack"}})"));
    ASSERT_TRUE(e2e::waitUntil([&] { return board.mails().size() == 1; }, 3));
    EXPECT_EQ((std::vector<std::string>{"--server=mail.example.org", "--port=587", "--user=ops", "--pass=s3 cret",
                                        "--from=#,ops", "--to=#,noc@example.org", "--subject=IP PDU Test",
                                        "--body=Test from the rack"}),
              board.mails()[0]);

    EXPECT_EQ("", ask(board, R"({"request":14,"content":{"addr":1}})"));
    EXPECT_EQ(R"({"response":14,"result":0})", ask(board, R"({"request":14,"content":{}})"));
    EXPECT_EQ("reboot \n", board.file("/var/log/reboot.calls"));
    EXPECT_TRUE(board.running());
}
