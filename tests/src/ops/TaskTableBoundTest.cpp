// The task table holds at most ScheduledTaskOperations::kMaxTasks tasks: one more addition is answered as failed
// on every interface and stores nothing; stored rows beyond the bound, or with dates the clock cannot hold, are
// not armed at start. The update of such a row arms it when there is room, else it is answered as failed.
#include <gtest/gtest.h>

#include "PduServer.h"
#include "PowerModuleContainer.h"
#include "ScheduledTask.h"
#include "ScheduledTaskContainer.h"
#include "ScheduledTaskOperations.h"
#include "manage_control/processor/MgrCtrlProcessor.h"
#include "muduo/net/Buffer.h"
#include "platform/core/BoardClock.h"
#include "platform/pmemu/PowerModuleEmulator.h"
#include "support/ClockShift.h"
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
std::string row(int id)
{
    return test::queryText(test::boardDatabase("pdu.db"),
                           "select ports||' '||action||' '||date||' '||time from tasks where id=" + std::to_string(id));
}
std::string askWeb(PduServer& server, const std::string& request)
{
    std::shared_ptr<web::WebProcessor> processor;
    std::string answer = "dropped";
    if (server.requestPaths().parseWeb(request, processor) == 1)
        processor->process(answer);
    return answer;
}
// The reply data as hex.
std::string askMgrCtrl(PduServer& server, const std::string& hex)
{
    server.requestPaths().addMgrCtrlParser("client");
    const std::string frame = test::mgrCtrlFrame(0, test::bytesOfHex(hex), 0);
    std::shared_ptr<MgrCtrl::MgrCtrlProcessor> processor;
    if (server.requestPaths().parseMgrCtrl("client", frame.data(), int(frame.size()), processor) != 1)
        return "dropped";
    muduo::net::Buffer out;
    processor->process(out);
    return test::hexBytes(out.retrieveAllAsString().substr(7));
}
// Web 28: outlet 2 switched on at 08:00:00 of 1 June 2030.
std::string webUpdate(int id)
{
    return R"({"request":28,"content":{"id":)" + std::to_string(id) + R"(,"ports":[2],"action":1,"repeat":0,)"
           R"("time":{"year":2030,"month":6,"day":1,"hour":8,"minute":0,"second":0}}})";
}
// The same update on the byte-wide wires, after the code (and address): id, ports, action, date, repeat, remark.
std::string wireUpdate(int id)
{
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08X", id);
    return hex + std::string(" 00000004 01 1E0601080000 00") + std::string(32, '0');
}
const char* const kUpdatedRow = "4 1 2030-06-01 08:00:00";
}

TEST(TaskTableBound, TheAdditionBeyondTheBoundFailsOnEveryInterface)
{
    test::ServerBoard board;
    storeTasks(kMax - 1);
    PduServer& server = board.build();
    ASSERT_EQ(size_t(kMax - 1), server.getScheduledTaskContainer()->size());
    const std::string add = R"({"request":27,"content":{"ports":[0],"action":1,"repeat":0,)"
                            R"("time":{"year":2030,"month":8,"day":1,"hour":8,"minute":0,"second":0}}})";
    EXPECT_EQ(R"({"response":27,"result":0,"content":{"addr":0,"id":)" + std::to_string(kMax) + "}}",
              askWeb(server, add));
    test::LogCapture log;
    EXPECT_EQ(R"({"response":27,"result":-1})", askWeb(server, add));
    EXPECT_EQ("39 00 01", askMgrCtrl(server, "39 00 00000001 01 1E0801080000 00" + std::string(32, '0')));
    EXPECT_EQ(std::to_string(kMax), count());
    EXPECT_EQ(size_t(kMax), server.getScheduledTaskContainer()->size());
    EXPECT_EQ(1, log.count("task refused: the table holds"));
    // A deletion makes room again.
    EXPECT_EQ(R"({"response":29,"result":0})", askWeb(server, R"({"request":29,"content":{"ids":[1]}})"));
    EXPECT_EQ(R"({"response":27,"result":0,"content":{"addr":0,"id":)" + std::to_string(kMax + 1) + "}}",
              askWeb(server, add));
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

TEST(TaskTableBound, AnUnarmedRowGivenAPossibleDateIsArmedByItsUpdateAndFiresAtItsTime)
{
    test::ServerBoard board;
    storeTasks(1, "2030-02-30");
    PduServer& server = board.build();
    server.getPowerModuleContainer()->startRead();
    ASSERT_FALSE(server.getScheduledTaskContainer()->find(1));
    test::ClockShift shift;
    shift.setLocal(2030, 6, 1, 7, 59, 58);

    EXPECT_EQ(R"({"response":28,"result":0})", askWeb(server, webUpdate(1)));
    EXPECT_EQ(kUpdatedRow, row(1));
    const auto task = server.getScheduledTaskContainer()->find(1);
    ASSERT_TRUE(task && task->armed());
    const int64_t due = static_cast<int64_t>(test::ClockShift::localSeconds(2030, 6, 1, 8, 0, 0)) * 1000000;
    EXPECT_EQ(due, task->armedAt().microSecondsSinceEpoch());
    ASSERT_TRUE(board.runUntil([&] { return (board.emulator().relayBits() & 0x04) != 0; }, 15));
    EXPECT_GE(board::wallClockMicros(), due);
    EXPECT_EQ(1, board.emulator().relayCommandCount(2));
}

TEST(TaskTableBound, TheUpdateOfARowBeyondTheBoundFailsWhileEveryPlaceIsTakenAndArmsItOnceOneIsFree)
{
    test::ServerBoard board;
    storeTasks(kMax + 1);
    PduServer& server = board.build();
    ScheduledTaskContainer& tasks = *server.getScheduledTaskContainer();
    ASSERT_FALSE(tasks.find(kMax + 1));
    test::ClockShift shift;
    shift.setLocal(2030, 5, 1, 12, 0, 0);
    const std::string stored = row(kMax + 1);

    test::LogCapture log;
    EXPECT_EQ(R"({"response":28,"result":-1})", askWeb(server, webUpdate(kMax + 1)));
    EXPECT_EQ("3A 00 01", askMgrCtrl(server, "3A 00 " + wireUpdate(kMax + 1)));
    EXPECT_EQ(stored, row(kMax + 1));
    EXPECT_FALSE(tasks.find(kMax + 1));
    EXPECT_EQ(1, log.count("task update refused: task 65 is not armed"));
    // An armed task is still updated as before.
    EXPECT_EQ(R"({"response":28,"result":0})", askWeb(server, webUpdate(kMax)));
    EXPECT_EQ(kUpdatedRow, row(kMax));

    EXPECT_EQ(R"({"response":29,"result":0})", askWeb(server, R"({"request":29,"content":{"ids":[1]}})"));
    EXPECT_EQ("3A 00 00 00 00 00 41", askMgrCtrl(server, "3A 00 " + wireUpdate(kMax + 1)));
    EXPECT_EQ(kUpdatedRow, row(kMax + 1));
    ASSERT_TRUE(tasks.find(kMax + 1));
    EXPECT_TRUE(tasks.find(kMax + 1)->armed());
    EXPECT_EQ(size_t(kMax), tasks.size());
    // An id without a row arms nothing.
    EXPECT_EQ(R"({"response":29,"result":0})", askWeb(server, R"({"request":29,"content":{"ids":[2]}})"));
    EXPECT_EQ(R"({"response":28,"result":-1})", askWeb(server, webUpdate(1)));
    EXPECT_FALSE(tasks.find(1));
}

TEST(TaskTableBound, TheSlaveArmsAnUnarmedRowItUpdatesOrRefusesTheUpdateWhenFull)
{
    test::FakeMaster master([] {
        storeTasks(1, "2030-02-30");
        storeTasks(kMax);
    });
    ScheduledTaskContainer& tasks = *master.server().getScheduledTaskContainer();
    test::ClockShift shift;
    shift.setLocal(2030, 5, 1, 12, 0, 0);
    auto ask = [&](const std::string& hex) {
        const test::Bytes answer = master.ask(test::fromHex(hex));
        return test::hexBytes(std::string(answer.begin(), answer.end()));
    };
    ASSERT_FALSE(tasks.find(1));
    EXPECT_EQ("12 01", ask("12 " + wireUpdate(1)));
    EXPECT_EQ("2030-02-30", test::boardSql("select date from tasks where id=1"));
    EXPECT_EQ("13 00", ask("13 0001 00000002"));  // deletes task 2
    EXPECT_EQ("12 00 00 00 00 01", ask("12 " + wireUpdate(1)));
    EXPECT_EQ(kUpdatedRow, row(1));
    ASSERT_TRUE(tasks.find(1));
    EXPECT_TRUE(tasks.find(1)->armed());
}
