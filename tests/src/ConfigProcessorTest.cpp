#include <gtest/gtest.h>

#include <string>

#include "ConfigProcessor.h"
#include "muduo/net/Buffer.h"
#include "muduo/net/InetAddress.h"
#include "support/LogCapture.h"
#include "support/StoreFixture.h"
#include "support/TestFrames.h"

using muduo::Timestamp;
using muduo::net::Buffer;

using test::configFrame;
using test::configField;

namespace
{
std::string reply(uint8_t code, uint8_t result)
{
    std::string r;
    r += static_cast<char>(0xA4);
    r += static_cast<char>(0x12);
    r += static_cast<char>(code);
    r += static_cast<char>(result);
    return r + std::string(16, '\0');
}

class ConfigProcessorTest : public test::StoreFixture
{
protected:
    // One datagram; the reply's bytes, or "<none>".
    std::string send(const std::string& datagram, double when = 0)
    {
        Buffer out;
        Timestamp t(static_cast<int64_t>((1000000000.0 + when) * 1e6));
        if (!processor_.process(datagram.data(), static_cast<int>(datagram.size()), t, &out))
            return "<none>";
        return out.retrieveAllAsString();
    }

    // A datagram of 10.0.0.9:port; true when it was answered.
    bool from(uint16_t port, const std::string& bytes, double when)
    {
        Buffer out;
        return processor_.process(muduo::net::InetAddress("10.0.0.9", port), bytes.data(),
                                  static_cast<int>(bytes.size()), Timestamp(static_cast<int64_t>((1e9 + when) * 1e6)),
                                  &out);
    }

    ConfigProcessor processor_;
};
}

TEST_F(ConfigProcessorTest, SetUidStoresInBothDatabases)
{
    EXPECT_EQ(reply(16, 0), send(configFrame(16, configField("G030500000000042"))));
    EXPECT_EQ("G030500000000042", setting("hard_id"));
    EXPECT_EQ("G030500000000042", setting("hard_id", pduDefault()));
}

TEST_F(ConfigProcessorTest, SetMacStoresUpperCaseText)
{
    std::string data = std::string("\x00\x01", 2) + std::string("\x0A\xB0\x00\xFF\x10\x01", 6);
    EXPECT_EQ(reply(15, 0), send(configFrame(15, data)));
    EXPECT_EQ("0A:B0:00:FF:10:01", setting("mac"));
    EXPECT_EQ("0A:B0:00:FF:10:01", setting("mac", pduDefault()));
}

TEST_F(ConfigProcessorTest, SetUidExtStoresIdentityNameAndNetbiosName)
{
    std::string data = configField("G020300000000077") + configField("Rack Seven") + configField("RACK7");
    EXPECT_EQ(reply(18, 0), send(configFrame(18, data)));
    for (const std::string& db : {pdu(), pduDefault()})
    {
        EXPECT_EQ("G020300000000077", setting("hard_id", db));
        EXPECT_EQ("RACK7", setting("netbios_name", db));
        EXPECT_EQ("Rack Seven", test::queryText(db, "select name from pdu_names where addr=0"));
    }
}

TEST_F(ConfigProcessorTest, FailedSaveIsAnsweredWithResultOne)
{
    sql("delete from pdu_names where addr=0");
    std::string data = configField("G020300000000077") + configField("Rack Seven") + configField("RACK7");
    EXPECT_EQ(reply(18, 1), send(configFrame(18, data)));
    EXPECT_EQ("G020300000000001", setting("hard_id"));
    EXPECT_EQ("G020300000000001", setting("hard_id", pduDefault()));
    // pdu_default.db without settings: pdu.db keeps the new value, the answer is 1
    test::execSql(pduDefault(), "drop table settings");
    EXPECT_EQ(reply(16, 1), send(configFrame(16, configField("G020300000000005"))));
    EXPECT_EQ("G020300000000005", setting("hard_id"));
}

TEST_F(ConfigProcessorTest, ShortFrameIsAnsweredWithResultOneAndStoresNothing)
{
    std::string ext = configField("G020300000000077") + configField("N") + configField("NB");
    EXPECT_EQ(reply(18, 0), send(configFrame(18, ext)));
    EXPECT_EQ(reply(16, 1), send(configFrame(16, "G0"), 1));
    EXPECT_EQ(reply(15, 1), send(configFrame(15, std::string("\x00", 1)), 2));
    EXPECT_EQ(reply(18, 1), send(configFrame(18, configField("G020300000000088")), 3));
    EXPECT_EQ("G020300000000077", setting("hard_id"));
    EXPECT_EQ("02:00:00:00:00:01", setting("mac"));
}

TEST_F(ConfigProcessorTest, UnknownCodeAndIncompleteFramesGetNoReply)
{
    EXPECT_EQ("<none>", send(configFrame(17, configField("x"))));
    std::string f = configFrame(16, configField("G020300000000011"));
    EXPECT_EQ("<none>", send(f.substr(0, 10), 1.0));
    EXPECT_EQ(reply(16, 0), send(f.substr(10), 1.2));
    EXPECT_EQ("G020300000000011", setting("hard_id"));
    // a pause of half a second drops the first half
    EXPECT_EQ("<none>", send(f.substr(0, 10), 2.0));
    EXPECT_EQ("<none>", send(f.substr(10), 2.5));
}

TEST_F(ConfigProcessorTest, SecondFrameOfADatagramIsAnsweredWithTheNext)
{
    std::string two =
        configFrame(16, configField("G020300000000021")) + configFrame(16, configField("G020300000000022"));
    EXPECT_EQ(reply(16, 0), send(two));
    EXPECT_EQ("G020300000000021", setting("hard_id"));
    EXPECT_EQ(reply(16, 0), send("", 0.1));
    EXPECT_EQ("G020300000000022", setting("hard_id"));
    EXPECT_EQ("<none>", send("", 0.2));
}

TEST_F(ConfigProcessorTest, SendersHaveReassemblersOfTheirOwnUpToALimit)
{
    test::LogCapture log;
    const std::string uid = configFrame(16, configField("G020300000000031"));
    for (uint16_t port = 1; port <= ConfigProcessor::kMaxSenders + 1; ++port)
        EXPECT_TRUE(from(port, uid + uid.substr(0, 5), 0.001 * port)) << port;
    // The 65th took the place unused the longest, and its half frame with it.
    EXPECT_EQ(1, log.count("config port busy: the place of 10.0.0.9:1 given to 10.0.0.9:65"));
    EXPECT_TRUE(from(3, uid.substr(5), 0.3));
    EXPECT_FALSE(from(1, uid.substr(5), 0.3));
    // Ports 4 to 50 fell silent half a second ago: their halves are gone.
    EXPECT_FALSE(from(2, uid.substr(5), 0.5505));
    EXPECT_EQ(3u + 15u, processor_.senders());  // 1, 2, 3 and 51 to 65
}

TEST_F(ConfigProcessorTest, SendersThatNeverCompleteAFrameLeaveRoomForOneThatDoes)
{
    test::LogCapture log;
    const std::string uid = configFrame(16, configField("G020300000000032"));
    int answered = 0;
    // 70 senders each send a byte every quarter of a second; now and then
    // another sends a whole frame, in one datagram or in two with bytes of
    // others between them.
    for (int round = 0; round < 40; ++round)
    {
        const double at = 0.25 * round;
        const uint16_t good = static_cast<uint16_t>(2000 + round);
        for (uint16_t trickler = 0; trickler < 70; ++trickler)
        {
            if (trickler == 35 && round % 4 == 3)
            {
                EXPECT_FALSE(from(good, uid.substr(0, 9), at + 0.07));
            }
            EXPECT_FALSE(from(static_cast<uint16_t>(1000 + trickler), "x", at + 0.002 * trickler));
        }
        if (round % 4 == 1)
            answered += from(good, uid, at + 0.15);
        if (round % 4 == 3)
            answered += from(good, uid.substr(9), at + 0.15);
    }
    EXPECT_EQ(20, answered);
    EXPECT_EQ(ConfigProcessor::kMaxSenders, processor_.senders());
    EXPECT_GT(log.count("config port busy"), 0);
}
