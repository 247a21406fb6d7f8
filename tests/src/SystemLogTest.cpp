#include "SystemLog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/ClockShift.h"
#include "support/StoreFixture.h"

namespace
{
class SystemLogTest : public test::StoreFixture
{
protected:
    static SystemLog& log() { return *SystemLog::instance(); }
    static std::string rowCount() { return test::queryText(pdu(), "select count(*) from system_logs"); }
    static std::string last(const std::string& column)
    {
        return test::queryText(pdu(), "select " + column + " from system_logs order by id desc limit 1");
    }
    static void row(int type, const std::string& content, const std::string& datetime)
    {
        sql("insert into system_logs values(null," + std::to_string(type) + ",'" + content + "',0,'" + datetime +
            "')");
    }
    static std::vector<_SystemLogItem> query(int type, int y0, int m0, int d0, int y1, int m1, int d1)
    {
        std::vector<_SystemLogItem> out;
        EXPECT_TRUE(log().loadSystemLogsFromDb(type, y0, m0, d0, y1, m1, d1, out));
        return out;
    }
};
}

TEST_F(SystemLogTest, BuildersWriteCompactContentInKeyOrder)
{
    std::string out = "stale";
    log().buildRelayActionContext(3, 2, out);
    EXPECT_EQ("{\"type\":1,\"port\":3,\"desc\":2}", out);
    log().buildDeviceWarningString(7, 3, out);
    EXPECT_EQ("{\"type\":7,\"desc\":3}", out);
    log().buildOutputContext(4, -1, -4, out);
    EXPECT_EQ("{\"type\":4,\"port\":-1,\"desc\":-4}", out);
}

TEST_F(SystemLogTest, EveryWriterStoresItsTypeAndContent)
{
    const struct
    {
        bool (*write)();
        int type;
        const char* content;
    } writers[] = {
        {[] { return log().addRelayOnLog(0, false); }, 1, "{\"type\":1,\"port\":0,\"desc\":1}"},
        {[] { return log().addRelayOffLog(7, false); }, 1, "{\"type\":1,\"port\":7,\"desc\":2}"},
        {[] { return log().addInputVoltageUpperLimitLog(false); }, 2, "{\"type\":2,\"desc\":4}"},
        {[] { return log().addInputVoltageLowerLimitLog(false); }, 2, "{\"type\":2,\"desc\":3}"},
        {[] { return log().addInputCurrentUpperLimitLog(false); }, 3, "{\"type\":3,\"desc\":4}"},
        {[] { return log().addInputCurrentLowerLimitLog(false); }, 3, "{\"type\":3,\"desc\":3}"},
        {[] { return log().addInputCurrentOverloadLog(false); }, 8, "{\"type\":8,\"desc\":4}"},
        {[] { return log().addTempUpperLimitLog(false); }, 6, "{\"type\":6,\"desc\":4}"},
        {[] { return log().addTempLowerLimitLog(false); }, 6, "{\"type\":6,\"desc\":3}"},
        {[] { return log().addHumiUpperLimitLog(false); }, 7, "{\"type\":7,\"desc\":4}"},
        {[] { return log().addHumiLowerLimitLog(false); }, 7, "{\"type\":7,\"desc\":3}"},
        {[] { return log().addOutputCurrentUpperLimitLog(1, false); }, 4, "{\"type\":4,\"port\":1,\"desc\":4}"},
        {[] { return log().addOutputCurrentLowerLimitLog(6, false); }, 4, "{\"type\":4,\"port\":6,\"desc\":3}"},
        {[] { return log().addOutputCurrentOverloadLog(2, false); }, 5, "{\"type\":5,\"port\":2,\"desc\":4}"},
    };
    for (const auto& w : writers)
    {
        SCOPED_TRACE(w.content);
        ASSERT_TRUE(w.write());
        EXPECT_EQ(std::to_string(w.type), last("type"));
        EXPECT_EQ(w.content, last("content"));
        EXPECT_EQ("0", last("is_read"));
    }
    ASSERT_TRUE(log().addTempLowerLimitLog(true));
    EXPECT_EQ("1", last("is_read"));
}

TEST_F(SystemLogTest, EntryIsDatedWithTheBoardClockInUtc)
{
    test::ClockShift clock;
    clock.setMicros(1714563723LL * 1000000);  // 2024-05-01 11:42:03 UTC
    ASSERT_TRUE(log().addOutputCurrentOverloadLog(2, false));
    EXPECT_EQ("2024-05-01 11:42:03", last("datetime"));

    std::vector<_SystemLogItem> items = query(5, 2024, 5, 1, 2024, 5, 2);
    ASSERT_EQ(1u, items.size());
    const _SystemLogItem& it = items[0];
    EXPECT_EQ(last("id"), std::to_string(it.id));
    EXPECT_EQ(2024, it.year);
    EXPECT_EQ(5, it.month);
    EXPECT_EQ(1, it.day);
    EXPECT_EQ(11, it.hour);
    EXPECT_EQ(42, it.minute);
    EXPECT_EQ(3, it.second);
    EXPECT_EQ(5, it.type);
    EXPECT_EQ(2, it.port);
    EXPECT_EQ(4, it.desc);
}

TEST_F(SystemLogTest, TableKeepsTheNewestThousandRows)
{
    sql("with recursive n(i) as (select 1 union all select i+1 from n where i<999) "
        "insert into system_logs select null, 2, '{\"type\":2,\"desc\":4}', 0, '2024-01-01 00:00:00' from n");
    ASSERT_TRUE(log().addHumiUpperLimitLog(false));
    EXPECT_EQ("1000", rowCount());  // 1000 rows: nothing dropped
    EXPECT_EQ("1", test::queryText(pdu(), "select min(id) from system_logs"));

    ASSERT_TRUE(log().addHumiLowerLimitLog(false));
    EXPECT_EQ("1000", rowCount());
    EXPECT_EQ("2", test::queryText(pdu(), "select min(id) from system_logs"));
    EXPECT_EQ("1001", last("id"));
    EXPECT_EQ("{\"type\":7,\"desc\":3}", last("content"));
}

TEST_F(SystemLogTest, QueryByTypeAndHalfOpenDateRange)
{
    row(4, "{\"type\":4,\"port\":3,\"desc\":4}", "2024-05-01 00:00:00");
    row(6, "{\"type\":6,\"desc\":3}", "2024-05-01 23:59:59");
    row(4, "{\"type\":4,\"port\":1,\"desc\":3}", "2024-05-02 00:00:00");
    row(4, "{\"type\":4,\"port\":1,\"desc\":3}", "2024-04-30 23:59:59");

    std::vector<_SystemLogItem> all = query(0, 2024, 5, 1, 2024, 5, 2);
    ASSERT_EQ(2u, all.size());
    EXPECT_EQ(4, all[0].type);
    EXPECT_EQ(3, all[0].port);
    EXPECT_EQ(6, all[1].type);
    EXPECT_EQ(-1, all[1].port);
    EXPECT_EQ(59, all[1].second);

    std::vector<_SystemLogItem> outlets = query(4, 2024, 4, 1, 2024, 6, 1);
    EXPECT_EQ(3u, outlets.size());
    EXPECT_TRUE(query(0, 2024, 5, 1, 2024, 5, 1).empty());

    // The vector is appended to, not cleared.
    std::vector<_SystemLogItem> twice;
    ASSERT_TRUE(log().loadSystemLogsFromDb(6, 2024, 5, 1, 2024, 5, 2, twice));
    ASSERT_TRUE(log().loadSystemLogsFromDb(6, 2024, 5, 1, 2024, 5, 2, twice));
    EXPECT_EQ(2u, twice.size());
}

TEST_F(SystemLogTest, RowsWithBadContentOrTimeAreSkipped)
{
    const char* bad[] = {"not json", "{\"type\":4,\"port\":1}", "{\"type\":\"4\",\"desc\":1}",
                         "{\"type\":4,\"port\":\"x\",\"desc\":1}", "{\"type\":4,\"desc\":1} x", "[4]",
                         "{\"type\":4,\"desc\":1.5}"};
    for (const char* content : bad)
        row(4, content, "2024-05-01 10:00:00");
    row(4, "{\"type\":4,\"desc\":1}", "2024-05-01 1x:00:00");
    row(4, "{\"type\":4,\"desc\":1}", "2024-05-01 99999999999:00:00");
    row(4, "{\"type\":4,\"desc\":2}", "2024-05-01 10:00:00");
    std::vector<_SystemLogItem> items = query(0, 2024, 5, 1, 2024, 5, 2);
    ASSERT_EQ(1u, items.size());
    EXPECT_EQ(2, items[0].desc);
    EXPECT_EQ(-1, items[0].port);
}

TEST_F(SystemLogTest, OutOfRangeQueryDatesFailCleanly)
{
    row(4, "{\"type\":4,\"desc\":2}", "2024-05-01 10:00:00");
    std::vector<_SystemLogItem> items;
    EXPECT_FALSE(log().loadSystemLogsFromDb(0, 2147483647, 5, 1, 2024, 5, 2, items));
    EXPECT_FALSE(log().loadSystemLogsFromDb(0, 2024, 5, 1, -2147483647 - 1, 5, 2, items));
    EXPECT_FALSE(log().loadSystemLogsFromDb(0, 2024, 13, 1, 2024, 5, 2, items));
    EXPECT_FALSE(log().loadSystemLogsFromDb(0, 2024, 5, 0, 2024, 5, 2, items));
    EXPECT_FALSE(log().loadSystemLogsFromDb(0, 2024, 5, 1, 2024, 5, 32, items));
    EXPECT_TRUE(items.empty());
    EXPECT_TRUE(log().loadSystemLogsFromDb(0, 0, 1, 1, 9999, 12, 31, items));
    EXPECT_EQ(1u, items.size());
}

TEST_F(SystemLogTest, DatabaseErrorsReturnFalse)
{
    ASSERT_EQ(0, std::remove(pdu().c_str()));
    EXPECT_FALSE(log().addTempUpperLimitLog(false));
    std::vector<_SystemLogItem> items;
    EXPECT_FALSE(log().loadSystemLogsFromDb(0, 2024, 5, 1, 2024, 5, 2, items));
}
