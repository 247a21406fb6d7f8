#include "cascade/processor/CascadeCtrlDataParserTable.h"

#include "muduo/base/Logging.h"

namespace CascadeCtrl
{
bool CascadeCtrlDataParserTable::add(int code, const std::shared_ptr<CascadeCtrlDataParser>& parser)
{
    if (code < CascadeCtrlCommand::kFirst || code > CascadeCtrlCommand::kLast || parsers_[code] || !parser)
    {
        LOG_ERROR << "cascade parser for code " << code << " not added";
        return false;
    }
    parsers_[code] = parser;
    return true;
}

std::shared_ptr<CascadeCtrlDataParser> CascadeCtrlDataParserTable::find(int code) const
{
    if (code < CascadeCtrlCommand::kFirst || code > CascadeCtrlCommand::kLast)
        return nullptr;
    return parsers_[code];
}

int CascadeCtrlDataParserTable::size() const
{
    int n = 0;
    for (const auto& parser : parsers_)
        n += parser ? 1 : 0;
    return n;
}
}
