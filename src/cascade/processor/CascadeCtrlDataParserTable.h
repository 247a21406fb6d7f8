#pragma once
#include <array>
#include <memory>

#include "cascade/parser/CascadeCtrlCommand.h"

namespace CascadeCtrl
{
class CascadeCtrlDataParser;

// A cascade endpoint's parsers by command code (1 to 43), filled once when
// the endpoint is made; getDataParser is then one lookup.
class CascadeCtrlDataParserTable
{
public:
    // False, with a log line, for a code outside 1..43 or one already taken.
    bool add(int code, const std::shared_ptr<CascadeCtrlDataParser>& parser);
    // Empty for a code without a parser.
    std::shared_ptr<CascadeCtrlDataParser> find(int code) const;
    int size() const;

private:
    std::array<std::shared_ptr<CascadeCtrlDataParser>, CascadeCtrlCommand::kLast + 1> parsers_;
};
}
