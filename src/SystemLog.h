#pragma once
#include <string>
#include <vector>

#include "DeviceRecords.h"
#include "JsonCpp.h"

// The unit's alarm history in the table system_logs of pdu.db, capped at
// the newest 1000 rows. Each entry's content is a compact JSON object
// {"type":t[,"port":p],"desc":d}. No connection stays open between calls.
// Loop thread only: the writer buffer and document are shared by all calls.
class SystemLog
{
public:
    static constexpr const char* s_dbName = "/var/www/database/pdu.db";
    static constexpr int kMaxRows = 1000;

    enum Type
    {
        kRelayAction = 1,
        kInputVoltage = 2,
        kInputCurrent = 3,
        kOutputCurrent = 4,
        kOutputOverload = 5,
        kTemperature = 6,
        kHumidity = 7,
        kInputOverload = 8,
    };
    enum Desc
    {
        kSwitchedOn = 1,
        kSwitchedOff = 2,
        kBelowLower = 3,
        kAboveUpper = 4,
    };

    static SystemLog* instance() { return &s_instance; }

    bool addLog(int type, std::string& content, bool read);

    void buildRelayActionContext(int port, int action, std::string& out);
    void buildDeviceWarningString(int type, int desc, std::string& out);
    void buildOutputContext(int type, int port, int desc, std::string& out);

    bool addRelayOnLog(int port, bool read);
    bool addRelayOffLog(int port, bool read);
    bool addInputVoltageUpperLimitLog(bool read);
    bool addInputVoltageLowerLimitLog(bool read);
    bool addInputCurrentUpperLimitLog(bool read);
    bool addInputCurrentLowerLimitLog(bool read);
    bool addInputCurrentOverloadLog(bool read);
    bool addTempUpperLimitLog(bool read);
    bool addTempLowerLimitLog(bool read);
    bool addHumiUpperLimitLog(bool read);
    bool addHumiLowerLimitLog(bool read);
    bool addOutputCurrentUpperLimitLog(int port, bool read);
    bool addOutputCurrentLowerLimitLog(int port, bool read);
    bool addOutputCurrentOverloadLog(int port, bool read);

    // Appends the entries of one type (0: every type) from the start day up
    // to, not including, the end day; out is not cleared. False on a
    // database error or a date that is no calendar date.
    bool loadSystemLogsFromDb(int type, int startYear, int startMonth, int startDay, int endYear, int endMonth,
                              int endDay, std::vector<_SystemLogItem>& out);

    // One stored row's content and datetime into item (id left as it is);
    // false for a row that is to be skipped.
    bool parseRow(const std::string& content, const std::string& datetime, _SystemLogItem& item);

private:
    SystemLog() = default;

    bool addDeviceLog(int type, int desc, bool read);
    bool addOutputLog(int type, int port, int desc, bool read);
    void build(int type, const int* port, int desc, std::string& out);
    // false when it is not a valid content.
    bool parseContent(const std::string& content, _SystemLogItem& item);

    static SystemLog s_instance;
    Json::JsonCpp json_;
};
