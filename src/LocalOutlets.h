#pragma once
#include "GlobalData.h"
#include "netext/MaskTraits.h"

// The outlets a request may act on: this unit's outlets that also have a
// slot in every per-outlet table of the device record. Whatever outlet count
// the identity text claims, nothing beyond the tables is ever indexed.
struct LocalOutlets
{
    static int count() { return GlobalData::getDevice().slotCount(); }
    static bool contains(int port) { return port >= 0 && port < count(); }

    // True when every entry of a per-outlet list (entries with a port)
    // names one of these outlets; else false with the first that does not.
    template <typename List>
    static bool containsAll(const List& entries, int& outside)
    {
        for (const auto& entry : entries)
            if (!contains(entry.port))
            {
                outside = entry.port;
                return false;
            }
        return true;
    }

    // The bits of mask below count(), as a mask of the same width.
    template <typename M>
    static M within(M mask)
    {
        const int n = count();
        return n >= MaskTraits<M>::kWidth ? mask : static_cast<M>(mask & ((M(1) << n) - 1));
    }
};
