// Dates and times from peers, on every interface that carries one: a date that is no calendar date, or one the
// unit's 32-bit clock cannot hold, is answered as failed and changes neither the clock nor the task table; a leap
// day is taken everywhere.
#include <gtest/gtest.h>

#include <cstdio>

#include "DeviceClock.h"
#include "PduServer.h"
#include "ScheduledTaskContainer.h"
#include "manage_control/processor/MgrCtrlProcessor.h"
#include "muduo/net/Buffer.h"
#include "support/ClockShift.h"
#include "support/FakeMaster.h"
#include "support/ServerBoard.h"
#include "support/TestDatabases.h"
#include "support/TestFrames.h"
#include "web/web_processor/WebProcessor.h"

namespace
{
struct Date
{
    int year, month, day, hour, minute, second;
    const char* what;
};

const Date kImpossible[] = {
    {2030, 0, 1, 8, 0, 0, "month 0"},
    {2030, 13, 1, 8, 0, 0, "month 13"},
    {2030, 2, 30, 8, 0, 0, "30 February"},
    {2027, 2, 29, 8, 0, 0, "29 February of a common year"},
    {2030, 4, 31, 8, 0, 0, "31 April"},
    {2030, 1, 0, 8, 0, 0, "day 0"},
    {2030, 1, 1, 24, 0, 0, "hour 24"},
    {2030, 1, 1, 8, 60, 0, "minute 60"},
    {2030, 1, 1, 8, 0, 60, "second 60"},
    {2038, 2, 1, 0, 0, 0, "past the clock's last second in 2038"},
    {2039, 1, 1, 0, 0, 0, "2039"},
    {2255, 255, 255, 255, 255, 255, "255 in every byte"},
    {65536, 65536, 65536, 65536, 65536, 65536, "65536 in every field"},
    {1999, 12, 31, 23, 59, 59, "before 2000"},
};
const Date kLeapDay = {2028, 2, 29, 12, 30, 0, "a leap day"};

// The byte-wide wires carry the year as year - 2000 and every other field in a byte.
bool bytewide(const Date& d)
{
    return d.year >= 2000 && d.year <= 2255 && d.month <= 255 && d.day <= 255 && d.hour <= 255 && d.minute <= 255 &&
           d.second <= 255;
}
std::string bytes(const Date& d)
{
    char hex[32];
    std::snprintf(hex, sizeof hex, "%02X %02X %02X %02X %02X %02X", d.year - 2000, d.month, d.day, d.hour, d.minute,
                  d.second);
    return hex;
}
std::string json(const Date& d)
{
    char text[160];
    std::snprintf(text, sizeof text, R"({"year":%d,"month":%d,"day":%d,"hour":%d,"minute":%d,"second":%d})", d.year,
                  d.month, d.day, d.hour, d.minute, d.second);
    return text;
}
std::string webTask(int code, const Date& d)
{
    return R"({"request":)" + std::to_string(code) + R"(,"content":{"id":1,"ports":[0],"action":1,"repeat":0,"time":)" +
           json(d) + "}}";
}
std::string tasks()
{
    return test::queryText(test::boardDatabase("pdu.db"), "select group_concat(date||' '||time) from tasks");
}
std::string clockDay()
{
    const _DeviceDateTime t = DeviceClock::now();
    return std::to_string(t.year) + "-" + std::to_string(t.month) + "-" + std::to_string(t.day);
}

class ImpossibleDatesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server_ = &board_.build();
        server_->requestPaths().addMgrCtrlParser("client");
        shift_.setLocal(2030, 6, 1, 12, 0, 0);
    }
    std::string web(const std::string& request)
    {
        std::shared_ptr<web::WebProcessor> processor;
        std::string answer = "dropped";
        if (server_->requestPaths().parseWeb(request, processor) == 1)
            processor->process(answer);
        return answer;
    }
    // The reply data as hex.
    std::string mgrCtrl(const std::string& hex)
    {
        const std::string frame = test::mgrCtrlFrame(0, test::bytesOfHex(hex), 0);
        std::shared_ptr<MgrCtrl::MgrCtrlProcessor> processor;
        if (server_->requestPaths().parseMgrCtrl("client", frame.data(), static_cast<int>(frame.size()), processor) != 1)
            return "dropped";
        muduo::net::Buffer out;
        processor->process(out);
        return test::hexBytes(out.retrieveAllAsString().substr(7));
    }

    test::ServerBoard board_;
    test::ClockShift shift_;
    PduServer* server_ = nullptr;
};
}

TEST_F(ImpossibleDatesTest, WebAndManageControlRefuseThemAndChangeNothing)
{
    const Date first = {2030, 7, 1, 8, 0, 0, "a task"};
    ASSERT_EQ(R"({"response":27,"result":0,"content":{"addr":0,"id":1}})", web(webTask(27, first)));
    for (const Date& d : kImpossible)
    {
        SCOPED_TRACE(d.what);
        EXPECT_EQ(R"({"response":12,"result":-1})", web(R"({"request":12,"content":{"time":)" + json(d) + "}}"));
        EXPECT_EQ(R"({"response":27,"result":-1})", web(webTask(27, d)));
        EXPECT_EQ(R"({"response":28,"result":-1})", web(webTask(28, d)));
        if (bytewide(d))
        {
            EXPECT_EQ("3E 00 01", mgrCtrl("3E 00 " + bytes(d)));
            EXPECT_EQ("39 00 01", mgrCtrl("39 00 00000001 01 " + bytes(d) + " 00" + std::string(32, '0')));
            EXPECT_EQ("3A 00 01", mgrCtrl("3A 00 00000001 00000001 01 " + bytes(d) + " 00" + std::string(32, '0')));
        }
    }
    EXPECT_EQ("2030-6-1", clockDay());
    EXPECT_EQ("2030-07-01 08:00:00", tasks());
    EXPECT_EQ(1u, server_->getScheduledTaskContainer()->size());

    EXPECT_EQ(R"({"response":28,"result":0})", web(webTask(28, kLeapDay)));
    EXPECT_EQ(R"({"response":27,"result":0,"content":{"addr":0,"id":2}})", web(webTask(27, kLeapDay)));
    EXPECT_EQ("39 00 00 00 00 00 03", mgrCtrl("39 00 00000001 01 " + bytes(kLeapDay) + " 00" + std::string(32, '0')));
    EXPECT_EQ("2028-02-29 12:30:00,2028-02-29 12:30:00,2028-02-29 12:30:00", tasks());
    EXPECT_EQ(R"({"response":12,"result":0})", web(R"({"request":12,"content":{"time":)" + json(kLeapDay) + "}}"));
    EXPECT_EQ("2028-2-29", clockDay());
    shift_.setLocal(2030, 6, 1, 12, 0, 0);
    EXPECT_EQ("3E 00 00", mgrCtrl("3E 00 " + bytes(kLeapDay)));
    EXPECT_EQ("2028-2-29", clockDay());
}

TEST(ImpossibleDatesOnTheChain, TheSlaveRefusesThemAndChangesNothing)
{
    test::ClockShift shift;
    test::FakeMaster master;
    shift.setLocal(2030, 6, 1, 12, 0, 0);
    auto ask = [&](const std::string& hex) {
        const test::Bytes answer = master.ask(test::fromHex(hex));
        return test::hexBytes(std::string(answer.begin(), answer.end()));
    };
    const std::string remark = " 00" + std::string(32, '0');
    ASSERT_EQ("11 00 00 00 00 01", ask("11 00000001 01 1E0701080000" + remark));
    for (const Date& d : kImpossible)
    {
        if (!bytewide(d))
            continue;
        SCOPED_TRACE(d.what);
        EXPECT_EQ("15 01", ask("15 " + bytes(d)));
        EXPECT_EQ("11 01", ask("11 00000001 01 " + bytes(d) + remark));
        EXPECT_EQ("12 01", ask("12 00000001 00000001 01 " + bytes(d) + remark));
    }
    EXPECT_EQ("2030-6-1", clockDay());
    EXPECT_EQ("2030-07-01 08:00:00", tasks());
    EXPECT_EQ("12 00 00 00 00 01", ask("12 00000001 00000001 01 " + bytes(kLeapDay) + remark));
    EXPECT_EQ("15 00", ask("15 " + bytes(kLeapDay)));
    EXPECT_EQ("2028-2-29", clockDay());
    EXPECT_EQ("2028-02-29 12:30:00", tasks());
}
