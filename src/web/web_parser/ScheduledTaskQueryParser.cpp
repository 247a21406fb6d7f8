#include "web/web_parser/ScheduledTaskQueryParser.h"

namespace web
{
bool ScheduledTaskQueryParser::read(const Value& content, int, Bounds& bounds)
{
    return (!find(content, "start_date") || readDateTime(content, "start_date", bounds.start)) &&
           (!find(content, "end_date") || readDateTime(content, "end_date", bounds.end));
}

bool ScheduledTaskQueryParser::fill(const Bounds& bounds, Bounds& request)
{
    request = bounds;
    return travels(bounds.start) && travels(bounds.end);
}

// A negative year travels as "no bound"; the other fields as signed bytes.
bool ScheduledTaskQueryParser::travels(const _DeviceDateTime& bound)
{
    typedef WebCommandParser Base;
    return (bound.year < 0 || Base::travels(bound.year, 1872, 2127, "listing year")) &&
           Base::travels(bound.month, -128, 127, "listing month") &&
           Base::travels(bound.day, -128, 127, "listing day") &&
           Base::travels(bound.hour, -128, 127, "listing hour") &&
           Base::travels(bound.minute, -128, 127, "listing minute") &&
           Base::travels(bound.second, -128, 127, "listing second");
}
}
