#pragma once
#include "GlobalData.h"
#include "muduo/base/LogLimiter.h"
#include "muduo/base/Logging.h"
#include "netext/MaskTraits.h"

// The outlets a request may act on: this unit's outlets that also have a
// slot in every per-outlet table of the device record. Whatever outlet count
// the identity text claims, nothing beyond the tables is ever indexed.
struct LocalOutlets
{
    static int count() { return GlobalData::getDevice().slotCount(); }
    static bool contains(int port) { return port >= 0 && port < count(); }

    // True when every entry of a per-outlet list (entries with a port)
    // names one of these outlets; else false, with a line naming what was
    // refused and the first outlet outside (at a bounded rate: a peer can
    // send such a list again and again).
    template <typename List>
    static bool acceptsAll(const List& entries, const char* what)
    {
        for (const auto& entry : entries)
            if (!contains(entry.port))
            {
                static muduo::LogLimiter s_refusals;
                int64_t held = 0;
                if (s_refusals.allow(&held))
                    LOG_WARN << what << " refused: outlet " << entry.port << " is not an outlet of this unit"
                             << muduo::LogLimiter::note(held);
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
