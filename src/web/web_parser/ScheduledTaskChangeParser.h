#pragma once
#include <algorithm>
#include <climits>
#include <cstring>

#include "DeviceRecords.h"
#include "Utility.h"
#include "cascade/parser/CascadeCtrlTaskRequest.h"
#include "web/web_parser/WebCommandParser.h"

namespace web
{
// The parsers that add or change a task (codes 27 and 28) read the same
// fields and relay them the same way.
template <class Derived, class Processor, class Relays>
class ScheduledTaskChangeParser : public WebCommandParser<Derived, Processor, Relays>
{
public:
    typedef WebParser::Value Value;
    using WebCommandParser<Derived, Processor, Relays>::WebCommandParser;

    // "ports", "action", "time", "repeat" (its low 8 bits) and "remark"
    // (optional, null as absent; its first 16 bytes without a cut character).
    static bool readTask(const Value& content, _DeviceTask& task)
    {
        std::vector<int> ports;
        int repeat = 0;
        _DeviceDateTime when;
        if (!WebParser::readIntArray(content, "ports", ports) || !WebParser::readInt(content, "action", task.action) ||
            !WebParser::readDateTime(content, "time", when) || !WebParser::readInt(content, "repeat", repeat))
            return false;
        // The calendar works with year - 1900 and month - 1 in an int.
        if (when.year < INT_MIN + 1900 || when.month == INT_MIN)
        {
            LOG_WARN << "task time " << when.year << "-" << when.month << " is no calendar time";
            return false;
        }
        const Value* remark = WebParser::find(content, "remark");
        std::string text;
        if (remark && !remark->IsNull() && !WebParser::readString(content, "remark", text))
            return false;
        char field[kRemarkBytes] = {};
        std::memcpy(field, text.data(), std::min(text.size(), sizeof field));
        Utility::normalizeUtf8String(field, kRemarkBytes);
        task.remark.assign(field, ::strnlen(field, sizeof field));
        task.ports = WebParser::outletMask(ports);
        task.repeat = static_cast<uint8_t>(repeat & 0xFF);
        task.year = when.year;
        task.month = when.month;
        task.day = when.day;
        task.hour = when.hour;
        task.minute = when.minute;
        task.second = when.second;
        return true;
    }

    // The action and each date field travel in one byte; the year as year -
    // 2000 read back signed.
    template <typename M, bool kWithId>
    static bool fill(const _DeviceTask& task, CascadeCtrl::CascadeCtrlTaskRequest<M, kWithId>& request)
    {
        typedef WebCommandParser<Derived, Processor, Relays> Base;
        request.task = task;
        return Base::travels(task.action, 0, 255, "task action") && Base::travels(task.year, 1872, 2127, "task year") &&
               Base::travels(task.month, 0, 255, "task month") && Base::travels(task.day, 0, 255, "task day") &&
               Base::travels(task.hour, 0, 255, "task hour") && Base::travels(task.minute, 0, 255, "task minute") &&
               Base::travels(task.second, 0, 255, "task second");
    }

private:
    static const int kRemarkBytes = 16;
};
}
