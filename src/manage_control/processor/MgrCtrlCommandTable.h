#pragma once
#include <cstddef>
#include <memory>

#include "manage_control/processor/MgrCtrlModules.h"

namespace MgrCtrl
{
class MgrCtrlDataParser;

// Every command code the TCP clients may send (42 to 83) with the maker of
// its parser. A code without a maker is known but not served: its requests
// are dropped as codes without a parser.
class MgrCtrlCommandTable
{
public:
    typedef std::shared_ptr<MgrCtrlDataParser> (*Maker)(const MgrCtrlModules& modules);
    struct Entry
    {
        int code;
        Maker maker;
    };
    struct Entries
    {
        const Entry* first;
        size_t count;
        const Entry* begin() const { return first; }
        const Entry* end() const { return first + count; }
    };

    static Entries entries();
};
}
