#include <vector>

#include "GlobalData.h"
#include "support/LogCapture.h"
#include "support/StoreFixture.h"

namespace
{
class GlobalDataTasksTest : public test::StoreFixture
{
protected:
    static _DeviceTask task(int y, int mo, int d, int h, int mi, int s, uint8_t repeat = 0)
    {
        _DeviceTask t;
        t.ports = 0x5;
        t.action = 1;
        t.year = y;
        t.month = mo;
        t.day = d;
        t.hour = h;
        t.minute = mi;
        t.second = s;
        t.repeat = repeat;
        t.remark = "r";
        return t;
    }
    static int add(const _DeviceTask& t)
    {
        int id = -1;
        EXPECT_TRUE(GlobalData::addScheduledTaskToDb(0, t, id));
        return id;
    }
    static std::vector<_DeviceTask> all()
    {
        std::vector<_DeviceTask> v;
        EXPECT_TRUE(GlobalData::loadAllTasksFromDb(v));
        return v;
    }
    static std::vector<int> ids(const std::vector<_DeviceTask>& v)
    {
        std::vector<int> out;
        for (const auto& t : v)
            out.push_back(t.id);
        return out;
    }
    static std::string column(int id, const std::string& name)
    {
        return test::queryText(pdu(), "select " + name + " from tasks where id=" + std::to_string(id));
    }
};
}

TEST_F(GlobalDataTasksTest, AddStoresTextsAndLoadsBackTheSameFields)
{
    _DeviceTask t = task(2024, 3, 5, 7, 8, 9, 0x41);
    t.ports = 0xF00000001ull;  // the high half is not stored
    t.remark = "lamp";
    int id = add(t);
    EXPECT_EQ("2024-03-05", column(id, "date"));
    EXPECT_EQ("07:08:09", column(id, "time"));
    EXPECT_EQ("1", column(id, "ports"));
    int second = add(t);
    EXPECT_GT(second, id);

    std::vector<_DeviceTask> v = all();
    ASSERT_EQ(2u, v.size());
    const _DeviceTask& got = v[0].id == id ? v[0] : v[1];
    EXPECT_EQ(id, got.id);
    EXPECT_EQ(1u, got.ports);
    EXPECT_EQ(1, got.action);
    EXPECT_EQ(2024, got.year);
    EXPECT_EQ(3, got.month);
    EXPECT_EQ(5, got.day);
    EXPECT_EQ(7, got.hour);
    EXPECT_EQ(8, got.minute);
    EXPECT_EQ(9, got.second);
    EXPECT_EQ(0x41, got.repeat);
    EXPECT_EQ("lamp", got.remark);

    _DeviceTask one;
    ASSERT_TRUE(GlobalData::loadScheduledTaskFromDb(second, one));
    EXPECT_EQ(second, one.id);
    EXPECT_EQ(9, one.second);
}

TEST_F(GlobalDataTasksTest, FullRangeOfPortsAndSmallYears)
{
    _DeviceTask t = task(999, 12, 31, 23, 59, 59);
    t.ports = 0xFFFFFFFFu;
    int id = add(t);
    EXPECT_EQ(" 999-12-31", column(id, "date"));
    _DeviceTask got;
    ASSERT_TRUE(GlobalData::loadScheduledTaskFromDb(id, got));
    EXPECT_EQ(0xFFFFFFFFu, got.ports);
    EXPECT_EQ(999, got.year);
}

TEST_F(GlobalDataTasksTest, MissingRowsMakeUpdateDeleteAndLoadFail)
{
    _DeviceTask t = task(2024, 1, 1, 0, 0, 0);
    t.id = 77;
    EXPECT_FALSE(GlobalData::updateScheduledTaskToDb(0, t));
    _DeviceTask untouched;
    untouched.remark = "keep";
    EXPECT_FALSE(GlobalData::loadScheduledTaskFromDb(77, untouched));
    EXPECT_EQ("keep", untouched.remark);

    int id = add(t);
    t.id = id;
    t.action = 2;
    t.hour = 13;
    EXPECT_FALSE(GlobalData::updateScheduledTaskToDb(1, t));  // another address
    EXPECT_TRUE(GlobalData::updateScheduledTaskToDb(0, t));
    EXPECT_EQ("13:00:00", column(id, "time"));
    EXPECT_EQ("2", column(id, "action"));

    EXPECT_FALSE(GlobalData::deleteScheduledTaskFromDb(0, {id, 99}));
    EXPECT_EQ(std::to_string(id), column(id, "id"));
    EXPECT_TRUE(GlobalData::deleteScheduledTaskFromDb(0, {}));
    EXPECT_TRUE(GlobalData::deleteScheduledTaskFromDb(0, {id}));
    EXPECT_TRUE(all().empty());
}

TEST_F(GlobalDataTasksTest, LoadAllAppendsAndKeepsEntries)
{
    std::vector<_DeviceTask> v(1);
    v[0].id = -5;
    EXPECT_TRUE(GlobalData::loadAllTasksFromDb(v));
    ASSERT_EQ(1u, v.size());
    add(task(2024, 1, 1, 0, 0, 0));
    sql("insert into tasks(addr,ports,action,date,time,repeat) values(1,1,1,'2024-01-01','00:00:00',0)");
    EXPECT_TRUE(GlobalData::loadAllTasksFromDb(v));
    ASSERT_EQ(2u, v.size());
    EXPECT_EQ(-5, v[0].id);
}

TEST_F(GlobalDataTasksTest, StoredRepeatAboveAByteLoadsItsLowBits)
{
    sql("insert into tasks(addr,ports,action,date,time,repeat) values(0,1,1,'2024-01-01','00:00:00',261)");
    std::vector<_DeviceTask> v = all();
    ASSERT_EQ(1u, v.size());
    EXPECT_EQ(5, v[0].repeat);
}

TEST_F(GlobalDataTasksTest, RepeatMaskWithoutWeekdaysIsRefused)
{
    int id = -1;
    EXPECT_FALSE(GlobalData::addScheduledTaskToDb(0, task(2024, 1, 1, 0, 0, 0, 0x80), id));
    EXPECT_EQ(-1, id);
    EXPECT_TRUE(all().empty());
    id = add(task(2024, 1, 1, 0, 0, 0, 0x81));  // a weekday bit beside it is fine
    _DeviceTask t = task(2024, 1, 1, 0, 0, 0, 0x80);
    t.id = id;
    EXPECT_FALSE(GlobalData::updateScheduledTaskToDb(0, t));
    EXPECT_EQ("129", column(id, "repeat"));
}

TEST_F(GlobalDataTasksTest, RowsWithUnreadableDateOrTimeAreSkippedWithBoundedLines)
{
    int good = add(task(2024, 1, 1, 0, 0, 0));
    sql("insert into tasks(addr,ports,action,date,time,repeat) values(0,1,1,'yesterday','00:00:00',0)");
    sql("insert into tasks(addr,ports,action,date,time,repeat) values(0,1,1,'2024-01-01','noon',0)");
    int bad = std::stoi(test::queryText(pdu(), "select max(id) from tasks"));
    test::LogCapture log;
    std::vector<_DeviceTask> v = all();
    EXPECT_EQ(std::vector<int>{good}, ids(v));
    EXPECT_EQ(1, log.count("skipped, bad date and time"));  // the second within the same second is held back
    _DeviceTask one;
    EXPECT_FALSE(GlobalData::loadScheduledTaskFromDb(bad, one));
    v.clear();
    EXPECT_TRUE(GlobalData::loadScheduledTaskFromDb(v, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1));
    EXPECT_EQ(std::vector<int>{good}, ids(v));
    // A client listing the tasks in a loop: about a line a second, not two per listing.
    for (int i = 0; i < 300; ++i)
        EXPECT_TRUE(GlobalData::loadScheduledTaskFromDb(v, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1));
    EXPECT_LE(log.count("skipped, bad date and time"), 5);
}

TEST_F(GlobalDataTasksTest, RangeQueryIsInclusiveAndNewestFirst)
{
    int a = add(task(2024, 1, 1, 8, 0, 0));
    int b = add(task(2024, 6, 1, 8, 0, 0));
    int c = add(task(2025, 1, 1, 8, 0, 0));
    sql("insert into tasks(addr,ports,action,date,time,repeat) values(1,1,1,'2024-06-01','08:00:00',0)");
    std::vector<_DeviceTask> v;
    ASSERT_TRUE(GlobalData::loadScheduledTaskFromDb(v, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1));
    EXPECT_EQ((std::vector<int>{c, b, a}), ids(v));
    EXPECT_EQ(2025, v[0].year);
    EXPECT_EQ(8, v[0].hour);
    EXPECT_EQ(5u, v[0].ports);

    v.clear();
    ASSERT_TRUE(GlobalData::loadScheduledTaskFromDb(v, 2024, 6, 1, 8, 0, 0, -1, -1, -1, -1, -1, -1));
    EXPECT_EQ((std::vector<int>{c, b}), ids(v));
    v.clear();
    ASSERT_TRUE(GlobalData::loadScheduledTaskFromDb(v, 2024, 6, 1, 8, 0, -1, 2024, 6, 1, 8, 0, 0));
    EXPECT_EQ((std::vector<int>{b, a}), ids(v));  // the start bound has a -1
    v.clear();
    ASSERT_TRUE(GlobalData::loadScheduledTaskFromDb(v, 2024, 1, 1, 8, 0, 1, 2024, 12, 31, 0, 0, 0));
    EXPECT_EQ(std::vector<int>{b}, ids(v));
}
