// The task table holds at most ScheduledTaskOperations::kMaxTasks tasks: one more addition is answered as failed
// on every interface and stores nothing; stored rows beyond the bound, or with dates the clock cannot hold, are
// not armed at start.
#include <gtest/gtest.h>

#include "PduServer.h"
#include "ScheduledTaskContainer.h"
#include "ScheduledTaskOperations.h"
#include "manage_control/processor/MgrCtrlProcessor.h"
#include "muduo/net/Buffer.h"
#include "support/FakeMaster.h"
#include "support/LogCapture.h"
#include "support/ServerBoard.h"
#include "support/TestDatabases.h"
#include "support/TestFrames.h"
#include "web/web_processor/WebProcessor.h"

namespace
{
const int kMax = ScheduledTaskOperations::kMaxTasks;

void storeTasks(int n, const char* date = "2030-07-01")
{
    test::execSql(test::boardDatabase("pdu.db"),
                  "with recursive n(i) as (select 1 union all select i + 1 from n where i < " + std::to_string(n) +
                      ") insert into tasks(addr, ports, action, date, time, repeat, remark) select 0, 1, 1, '" + date +
                      "', '08:00:00', 0, '' from n");
}
std::string count() { return test::queryText(test::boardDatabase("pdu.db"), "select count(*) from tasks"); }
}

TEST(TaskTableBound, TheAdditionBeyondTheBoundFailsOnEveryInterface)
{
    test::ServerBoard board;
    storeTasks(kMax - 1);
    PduServer& server = board.build();
    ASSERT_EQ(size_t(kMax - 1), server.getScheduledTaskContainer()->size());
    auto web = [&](const std::string& request) {
        std::shared_ptr<web::WebProcessor> processor;
        std::string answer = "dropped";
        if (server.requestPaths().parseWeb(request, processor) == 1)
            processor->process(answer);
        return answer;
    };
    const std::string add = R"({"request":27,"content":{"ports":[0],"action":1,"repeat":0,)"
                            R"("time":{"year":2030,"month":8,"day":1,"hour":8,"minute":0,"second":0}}})";
    EXPECT_EQ(R"({"response":27,"result":0,"content":{"addr":0,"id":)" + std::to_string(kMax) + "}}", web(add));
    test::LogCapture log;
    EXPECT_EQ(R"({"response":27,"result":-1})", web(add));
    server.requestPaths().addMgrCtrlParser("client");
    const std::string frame = test::mgrCtrlFrame(0, test::bytesOfHex("39 00 00000001 01 1E0801080000 00" +
                                                                      std::string(32, '0')), 0);
    std::shared_ptr<MgrCtrl::MgrCtrlProcessor> processor;
    ASSERT_EQ(1, server.requestPaths().parseMgrCtrl("client", frame.data(), int(frame.size()), processor));
    muduo::net::Buffer out;
    processor->process(out);
    EXPECT_EQ("39 00 01", test::hexBytes(out.retrieveAllAsString().substr(7)));
    EXPECT_EQ(std::to_string(kMax), count());
    EXPECT_EQ(size_t(kMax), server.getScheduledTaskContainer()->size());
    EXPECT_EQ(1, log.count("task refused: the table holds"));
    // A deletion makes room again.
    EXPECT_EQ(R"({"response":29,"result":0})", web(R"({"request":29,"content":{"ids":[1]}})"));
    EXPECT_EQ(R"({"response":27,"result":0,"content":{"addr":0,"id":)" + std::to_string(kMax + 1) + "}}", web(add));
}

TEST(TaskTableBound, TheSlaveRefusesTheAdditionBeyondTheBound)
{
    test::FakeMaster master([] { storeTasks(kMax); });
    const test::Bytes answer = master.ask(test::fromHex("11 00000001 01 1E0801080000 00" + std::string(32, '0')));
    EXPECT_EQ("11 01", test::hexBytes(std::string(answer.begin(), answer.end())));
    EXPECT_EQ(std::to_string(kMax), count());
}

TEST(TaskTableBound, StoredRowsBeyondTheBoundOrWithImpossibleDatesAreNotArmed)
{
    test::ServerBoard board;
    storeTasks(3, "2030-02-30");
    storeTasks(kMax + 5);
    test::LogCapture log;
    PduServer& server = board.build();
    EXPECT_EQ(size_t(kMax), server.getScheduledTaskContainer()->size());
    EXPECT_FALSE(server.getScheduledTaskContainer()->find(1));  // 30 February
    EXPECT_EQ(1, log.count("stored tasks not armed: 3 with a date the clock cannot hold, 5 beyond"));
    EXPECT_EQ(std::to_string(kMax + 8), count());  // nothing is lost
}
