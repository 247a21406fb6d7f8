#pragma once
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/RebootProcessor.h"

namespace web
{
// Code 14: reboots this unit. A request naming another unit is dropped:
// there is no relay to take it there.
class RebootParser final : public WebCommandParser<RebootParser, RebootProcessor, WebAnsweredHere>
{
public:
    using WebCommandParser::WebCommandParser;

    static bool read(const Value&, int addr, WebNoFields&)
    {
        LOG_INFO << " addr:" << addr;
        if (addr == 0)
            return true;
        LOG_WARN << "reboot of addr:" << addr << " dropped: only this unit reboots";
        return false;
    }
};
}
