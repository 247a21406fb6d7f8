// Scheduled outlet tasks in the table tasks of pdu.db.
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <cstdio>
#include <ctime>

#include "DbAccess.h"
#include "GlobalData.h"
#include "muduo/base/LogLimiter.h"
#include "muduo/base/Logging.h"

namespace
{
// Bits 0 to 6 name Sunday to Saturday; a mask with only other bits set
// would never find a next weekday.
bool repeatMaskUsable(uint8_t repeat) { return repeat == 0 || (repeat & 0x7F) != 0; }

std::string dateText(const _DeviceTask& t)
{
    char buf[64] = {};
    ::snprintf(buf, sizeof buf, "%4d-%02d-%02d", t.year, t.month, t.day);
    return buf;
}

std::string timeText(const _DeviceTask& t)
{
    char buf[64] = {};
    ::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return buf;
}

bool parseDateTime(const std::string& text, _DeviceTask& t)
{
    struct tm tm = {};
    const char* end = ::strptime(text.c_str(), "%Y-%m-%d %H:%M:%S", &tm);
    if (end == nullptr || *end != '\0')
        return false;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    return true;
}

std::string hex(unsigned value, int digits)
{
    char buf[16];
    ::snprintf(buf, sizeof buf, "0x%0*X", digits, value);
    return buf;
}

// Fills the record from a row; false (with the one log line) when its date
// and time do not form a calendar time.
bool readTaskRow(SQLite::Statement& row, const std::string& when, _DeviceTask& task)
{
    _DeviceTask t;
    t.id = row.getColumn("id").getInt();
    t.ports = static_cast<uint64_t>(row.getColumn("ports").getInt64()) & 0xFFFFFFFFu;
    t.action = row.getColumn("action").getInt();
    t.repeat = static_cast<uint8_t>(row.getColumn("repeat").getInt());
    t.remark = row.getColumn("remark").getString();
    if (!parseDateTime(when, t))
    {
        // Every listing reads every row again: one line per row and listing
        // would let a client fill the log.
        static muduo::LogLimiter s_skipped;
        int64_t held = 0;
        if (s_skipped.allow(&held))
            LOG_WARN << "task id:" << t.id << " skipped, bad date and time:" << when << muduo::LogLimiter::note(held);
        return false;
    }
    task = t;
    return true;
}

std::string rowDateTime(SQLite::Statement& row)
{
    return row.getColumn("date").getString() + " " + row.getColumn("time").getString();
}

void bindTaskFields(SQLite::Statement& st, int first, const _DeviceTask& task, const std::string& date,
                    const std::string& time)
{
    st.bind(first, static_cast<int64_t>(task.ports & 0xFFFFFFFFu));
    st.bind(first + 1, task.action);
    st.bind(first + 2, date);
    st.bind(first + 3, time);
    st.bind(first + 4, static_cast<int>(task.repeat));
    st.bind(first + 5, task.remark);
}

// Runs fn(db, date, time) in a write of the task's row; a repeat mask
// without weekday is refused before the database is opened.
template <class Fn>
bool writeTask(const char* dbName, const _DeviceTask& task, Fn&& fn)
{
    if (!repeatMaskUsable(task.repeat))
    {
        LOG_WARN << "task refused, repeat mask without weekday:" << hex(task.repeat, 2);
        return false;
    }
    return DbAccess::write(dbName, [&](SQLite::Database& db) {
        std::string date = dateText(task), time = timeText(task);
        LOG_INFO << "date:" << date;
        LOG_INFO << "time:" << time;
        return fn(db, date, time);
    });
}

bool boundText(int y, int mo, int d, int h, int mi, int s, std::string& out)
{
    if (y == -1 || mo == -1 || d == -1 || h == -1 || mi == -1 || s == -1)
        return false;
    char buf[40] = {};
    ::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
    out = buf;
    return true;
}
}  // namespace

bool GlobalData::addScheduledTaskToDb(int addr, const _DeviceTask& task, int& newId)
{
    return writeTask(s_dbName, task, [&](SQLite::Database& db, const std::string& date, const std::string& time) {
        SQLite::Statement st(db, "insert into tasks (addr,ports,action,date,time,repeat,remark) values(?,?,?,?,?,?,?)");
        st.bind(1, addr);
        bindTaskFields(st, 2, task, date, time);
        if (st.exec() == 0)
        {
            LOG_INFO << "add scheduled task failed";
            return false;
        }
        newId = static_cast<int>(db.getLastInsertRowid());
        LOG_INFO << "new id:" << newId;
        return true;
    });
}

bool GlobalData::updateScheduledTaskToDb(int addr, const _DeviceTask& task)
{
    return writeTask(s_dbName, task, [&](SQLite::Database& db, const std::string& date, const std::string& time) {
        SQLite::Statement st(db, "update tasks set ports=?,action=?,date=?,time=?,repeat=?,remark=? where id=? and addr=?");
        bindTaskFields(st, 1, task, date, time);
        st.bind(7, task.id);
        st.bind(8, addr);
        if (st.exec() == 0)
        {
            LOG_INFO << "update scheduled task failed";
            return false;
        }
        return true;
    });
}

bool GlobalData::deleteScheduledTaskFromDb(int addr, const std::vector<int>& ids)
{
    return DbAccess::write(s_dbName, [&](SQLite::Database& db) {
        SQLite::Transaction transaction(db);
        SQLite::Statement st(db, "delete from tasks where id=? and addr=?");
        for (int id : ids)
        {
            st.reset();
            st.bind(1, id);
            st.bind(2, addr);
            if (st.exec() == 0)
            {
                LOG_INFO << "delete scheduled task failed";
                return false;
            }
        }
        transaction.commit();
        return true;
    });
}

bool GlobalData::countScheduledTasksInDb(int addr, int& count)
{
    return DbAccess::read(s_dbName, [&](SQLite::Database& db) {
        SQLite::Statement query(db, "select count(*) from tasks where addr = ?");
        query.bind(1, addr);
        if (!query.executeStep())
            return false;
        count = query.getColumn(0).getInt();
        return true;
    });
}

bool GlobalData::loadAllTasksFromDb(std::vector<_DeviceTask>& tasks)
{
    return DbAccess::read(s_dbName, [&](SQLite::Database& db) {
        SQLite::Statement query(db, "select * from tasks where addr = ?");
        query.bind(1, 0);
        while (query.executeStep())
        {
            _DeviceTask task;
            if (readTaskRow(query, rowDateTime(query), task))
                tasks.push_back(task);
        }
        return true;
    });
}

bool GlobalData::loadScheduledTaskFromDb(int id, _DeviceTask& task)
{
    return DbAccess::read(s_dbName, [&](SQLite::Database& db) {
        SQLite::Statement query(db, "select * from tasks where addr = ? and id = ?");
        query.bind(1, 0);
        query.bind(2, id);
        if (!query.executeStep())
            return false;
        std::string when = rowDateTime(query);
        if (!readTaskRow(query, when, task))
            return false;
        LOG_INFO << "id:" << task.id << ",ports:" << hex(static_cast<unsigned>(task.ports), 8)
                 << ",action:" << task.action << ",repeat:" << hex(task.repeat, 4) << ",time:" << when;
        LOG_INFO << "loadScheduledTaskFromDb ok";
        return true;
    });
}

bool GlobalData::loadScheduledTaskFromDb(std::vector<_DeviceTask>& tasks, int startYear, int startMonth, int startDay,
                                         int startHour, int startMinute, int startSecond, int endYear, int endMonth,
                                         int endDay, int endHour, int endMinute, int endSecond)
{
    return DbAccess::read(s_dbName, [&](SQLite::Database& db) {
        std::string sql =
            "select id,ports,action,repeat,remark,strftime('%Y-%m-%d %H:%M:%S',date,time) as action_time "
            "from tasks where addr=0";
        std::string bound;
        if (boundText(startYear, startMonth, startDay, startHour, startMinute, startSecond, bound))
        {
            LOG_INFO << "start datetime:" << bound;
            sql += " and action_time>=datetime('" + bound + "')";
        }
        if (boundText(endYear, endMonth, endDay, endHour, endMinute, endSecond, bound))
        {
            LOG_INFO << "end datetime:" << bound;
            sql += " and action_time<=datetime('" + bound + "')";
        }
        sql += " order by action_time desc";
        LOG_INFO << "sql:" << sql;
        SQLite::Statement query(db, sql);
        while (query.executeStep())
        {
            // A stored date the database cannot read gives NULL, i.e. "".
            std::string when = query.getColumn("action_time").getString();
            _DeviceTask task;
            if (!readTaskRow(query, when, task))
                continue;
            LOG_INFO << "id:" << task.id << ",ports:" << hex(static_cast<unsigned>(task.ports), 8)
                     << ",action:" << task.action << ",repeat:" << hex(task.repeat, 4) << ",time:" << when
                     << ",remark:" << task.remark;
            tasks.push_back(task);
        }
        LOG_INFO << "loadScheduledTaskFromDb ok";
        return true;
    });
}
