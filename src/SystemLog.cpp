#include "SystemLog.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <cstdio>

#include "DbAccess.h"
#include "NewestRows.h"
#include "muduo/base/Logging.h"
#include "platform/core/BoardClock.h"

SystemLog SystemLog::s_instance;

namespace
{
// "YYYY-MM-DD" of a request's date; false for numbers no calendar date has,
// which would not fit the fixed-width text.
bool formatDate(int year, int month, int day, std::string& out)
{
    if (year < 0 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31)
    {
        LOG_INFO << "bad log query date:" << year << "-" << month << "-" << day;
        return false;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    out = text;
    return true;
}

// "Y-m-d H:M:S" as SQLite writes it; each field at most 9 digits, so no
// text from the file can overflow a field.
bool parseDatetime(const std::string& text, _SystemLogItem& item)
{
    int32_t* fields[] = {&item.year, &item.month, &item.day, &item.hour, &item.minute, &item.second};
    const char separators[] = {'-', '-', ' ', ':', ':', '\0'};
    size_t at = 0;
    for (int i = 0; i < 6; ++i)
    {
        int32_t value = 0;
        size_t digits = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 9)
        {
            value = value * 10 + (text[at++] - '0');
            ++digits;
        }
        if (digits == 0)
            return false;
        *fields[i] = value;
        if (separators[i] != '\0' && (at >= text.size() || text[at++] != separators[i]))
            return false;
    }
    return at == text.size();
}

bool intMember(const rapidjson::Value& object, const char* key, int32_t& out)
{
    auto it = object.FindMember(key);
    if (it == object.MemberEnd() || !it->value.IsInt())
        return false;
    out = it->value.GetInt();
    return true;
}
}

bool SystemLog::addLog(int type, std::string& content, bool read)
{
    LOG_INFO << "type:" << type << ",context:" << content << ",read:" << (read ? "1" : "0");
    return NewestRows::append(s_dbName, "system_logs", kMaxRows, [&](SQLite::Database& db) {
        // The time comes from the board clock, so a clock set by a client
        // dates the entry as the unit sees it.
        SQLite::Statement insert(db, "insert into system_logs values(null,?,?,?,datetime(?,'unixepoch'))");
        insert.bind(1, type);
        insert.bind(2, content);
        insert.bind(3, read ? 1 : 0);
        insert.bind(4, static_cast<int64_t>(board::wallClockSeconds()));
        insert.exec();
    });
}

void SystemLog::build(int type, const int* port, int desc, std::string& out)
{
    json_.Clear();
    json_.StartObject();
    json_.WriteKeyValue("type", type);
    if (port)
        json_.WriteKeyValue("port", *port);
    json_.WriteKeyValue("desc", desc);
    json_.EndObject();
    out = json_.GetString();
}

void SystemLog::buildRelayActionContext(int port, int action, std::string& out)
{
    build(kRelayAction, &port, action, out);
}

void SystemLog::buildDeviceWarningString(int type, int desc, std::string& out) { build(type, nullptr, desc, out); }

void SystemLog::buildOutputContext(int type, int port, int desc, std::string& out) { build(type, &port, desc, out); }

bool SystemLog::addDeviceLog(int type, int desc, bool read)
{
    std::string content;
    buildDeviceWarningString(type, desc, content);
    return addLog(type, content, read);
}

bool SystemLog::addOutputLog(int type, int port, int desc, bool read)
{
    std::string content;
    buildOutputContext(type, port, desc, content);
    return addLog(type, content, read);
}

bool SystemLog::addRelayOnLog(int port, bool read)
{
    std::string content;
    buildRelayActionContext(port, kSwitchedOn, content);
    return addLog(kRelayAction, content, read);
}

bool SystemLog::addRelayOffLog(int port, bool read)
{
    std::string content;
    buildRelayActionContext(port, kSwitchedOff, content);
    return addLog(kRelayAction, content, read);
}

bool SystemLog::addInputVoltageUpperLimitLog(bool read) { return addDeviceLog(kInputVoltage, kAboveUpper, read); }
bool SystemLog::addInputVoltageLowerLimitLog(bool read) { return addDeviceLog(kInputVoltage, kBelowLower, read); }
bool SystemLog::addInputCurrentUpperLimitLog(bool read) { return addDeviceLog(kInputCurrent, kAboveUpper, read); }
bool SystemLog::addInputCurrentLowerLimitLog(bool read) { return addDeviceLog(kInputCurrent, kBelowLower, read); }
bool SystemLog::addInputCurrentOverloadLog(bool read) { return addDeviceLog(kInputOverload, kAboveUpper, read); }
bool SystemLog::addTempUpperLimitLog(bool read) { return addDeviceLog(kTemperature, kAboveUpper, read); }
bool SystemLog::addTempLowerLimitLog(bool read) { return addDeviceLog(kTemperature, kBelowLower, read); }
bool SystemLog::addHumiUpperLimitLog(bool read) { return addDeviceLog(kHumidity, kAboveUpper, read); }
bool SystemLog::addHumiLowerLimitLog(bool read) { return addDeviceLog(kHumidity, kBelowLower, read); }

bool SystemLog::addOutputCurrentUpperLimitLog(int port, bool read)
{
    return addOutputLog(kOutputCurrent, port, kAboveUpper, read);
}

bool SystemLog::addOutputCurrentLowerLimitLog(int port, bool read)
{
    return addOutputLog(kOutputCurrent, port, kBelowLower, read);
}

bool SystemLog::addOutputCurrentOverloadLog(int port, bool read)
{
    return addOutputLog(kOutputOverload, port, kAboveUpper, read);
}

bool SystemLog::parseRow(const std::string& content, const std::string& datetime, _SystemLogItem& item)
{
    if (!parseContent(content, item))
        return false;
    if (!parseDatetime(datetime, item))
    {
        LOG_INFO << "bad log datetime:" << datetime;
        return false;
    }
    return true;
}

bool SystemLog::parseContent(const std::string& content, _SystemLogItem& item)
{
    if (!json_.Parse(content))
        return false;
    const rapidjson::Document& doc = json_.GetDocument();
    if (!doc.IsObject() || !intMember(doc, "type", item.type) || !intMember(doc, "desc", item.desc))
        return false;
    item.port = -1;
    return !doc.HasMember("port") || intMember(doc, "port", item.port);
}

bool SystemLog::loadSystemLogsFromDb(int type, int startYear, int startMonth, int startDay, int endYear, int endMonth,
                                     int endDay, std::vector<_SystemLogItem>& out)
{
    LOG_INFO << "type:" << type << ",startYear:" << startYear << ",startMonth:" << startMonth
             << ",startDay:" << startDay << ",endYear:" << endYear << ",endMonth:" << endMonth << ",endDay:" << endDay;
    std::string startDate, endDate;
    if (!formatDate(startYear, startMonth, startDay, startDate) || !formatDate(endYear, endMonth, endDay, endDate))
        return false;
    return DbAccess::read(s_dbName, [&](SQLite::Database& db) {
        std::string sql = "select * from system_logs where ";
        if (type != 0)
            sql += "type= ? and ";
        sql += "datetime between date(?) and date(?)";
        SQLite::Statement query(db, sql);
        int parameter = 1;
        if (type != 0)
            query.bind(parameter++, type);
        query.bind(parameter++, startDate);
        query.bind(parameter, endDate);
        while (query.executeStep())
        {
            _SystemLogItem item{};
            item.id = query.getColumn("id").getInt();
            if (parseRow(query.getColumn("content").getString(), query.getColumn("datetime").getString(), item))
                out.push_back(item);
        }
        return true;
    });
}
