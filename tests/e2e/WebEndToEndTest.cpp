// socat, a UDP client from outside, asks the running daemon on the web port.
#include <gtest/gtest.h>

#include "e2e/E2eBoard.h"

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
