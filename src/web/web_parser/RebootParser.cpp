#include "web/web_parser/RebootParser.h"

namespace web
{
bool RebootParser::read(const Value& content, WebNoFields&)
{
    int addr = 0;
    if (!readAddr(content, addr))
        return false;
    LOG_INFO << " addr:" << addr;
    if (addr == 0)
        return true;
    LOG_WARN << "reboot of addr:" << addr << " dropped: only this unit reboots";
    return false;
}
}
