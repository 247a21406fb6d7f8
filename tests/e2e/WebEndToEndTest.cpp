// socat, a UDP client from outside, asks the running daemon on the web port.
#include <gtest/gtest.h>

#include "e2e/E2eBoard.h"
#include "platform/pmemu/PowerModuleEmulator.h"

namespace
{
// socat's output: the answer datagram, or nothing when none came in time.
std::string ask(const e2e::E2eBoard& board, const std::string& request)
{
    return board.sh("printf '%s' " + e2e::E2eBoard::quote(request) + " | socat -t 0.5 - UDP:127.0.0.1:8888");
}
}

TEST(WebEndToEnd, SocatGetsTheDeviceListAndMalformedRequestsNoAnswer)
{
    e2e::E2eBoard board;
    ASSERT_TRUE(board.start());
    ASSERT_TRUE(board.waitListening({"udp 127.0.0.1:8888"}, 10)) << board.output();
    const std::string list = R"({"response":1,"result":0,"content":{"devices":[{"addr":0,"port_num":8}]}})";
    EXPECT_EQ(list, ask(board, "{\"request\":1}"));
    for (const char* malformed : {"{\"request\":", "[]", "{\"request\":1.0}", "{\"content\":{}}", "{\"request\":99}"})
        EXPECT_EQ("", ask(board, malformed)) << malformed;
    EXPECT_EQ(list, ask(board, "{\"request\":1}"));
    EXPECT_TRUE(board.running());
    for (const char* line : {"json parse error", "no request", "request is not an integer", "no parser"})
        EXPECT_NE(std::string::npos, board.output().find(line)) << line;
}

TEST(WebEndToEnd, SocatSwitchesAnOutletAfterItsOnDelayAndTheStatusShowsIt)
{
    e2e::E2eBoard board;
    board.sql("pdu.db", "update delays set \"on\"=2 where addr=0 and port=3");
    ASSERT_TRUE(board.start());
    ASSERT_TRUE(board.waitListening({"udp 127.0.0.1:8888"}, 10)) << board.output();
    ASSERT_EQ(0, board.emulator().relayBits());
    const auto sent = e2e::Clock::now();
    // Numbers that are no outlet of this unit are skipped.
    EXPECT_EQ(R"({"response":2,"result":0})", ask(board, R"({"request":2,"content":{"ports":[3,9,-1],"action":1}})"));
    EXPECT_EQ(0, board.emulator().relayBits());
    ASSERT_TRUE(e2e::waitUntil([&] { return board.emulator().relayBits() == 0x08; }, 6, 20));
    EXPECT_GE(std::chrono::duration<double>(e2e::Clock::now() - sent).count(), 1.9);
    const std::string on = R"({"response":3,"result":0,"content":{"data":[{"addr":0,"on_off":8}]}})";
    EXPECT_TRUE(e2e::waitUntil(
        [&] { return ask(board, R"({"request":3,"content":{"query":[{"addr":0,"on_off":true}]}})") == on; }, 5))
        << board.output();
    EXPECT_TRUE(board.running());
}
