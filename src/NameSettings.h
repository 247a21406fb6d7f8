#pragma once
#include <map>
#include <string>
#include <vector>

#include "LocalOutlets.h"

// The unit's name and its outlet names: saved to pdu.db, then taken into the
// record. Names of outlets this unit lacks are dropped before the save.
class NameSettings
{
public:
    static const int kUnitName = -1;

    // Key -1 is the unit's name, k >= 0 outlet k's name. False, with nothing
    // changed, when no name is left to save or the save fails.
    static bool save(const std::map<int, std::string>& names);

    // The names a wire mask selects: bit n outlet n and the top bit the
    // unit's name, one name per set bit in ascending bit order (outlets
    // first). The bits of outlets this unit lacks are cleared with their
    // names; afterwards names holds the names saved, in that order.
    template <typename M>
    static bool saveMasked(M& mask, std::vector<std::string>& names);
};
