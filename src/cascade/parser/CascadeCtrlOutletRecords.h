#pragma once
#include <map>
#include <vector>

#include "muduo/base/Logging.h"
#include "netext/MaskTraits.h"

namespace CascadeCtrl
{
// The per-outlet records of a request, one for each set bit of its mask in
// ascending bit order, with no count: the mask and the records must match
// one to one or the receiver shifts every record after a gap. So writers
// never trust a mask handed to them: they build both from one sorted,
// de-duplicated set of outlets 0..kLastOutlet (bit 30, or 62 for 64-bit
// masks; the receiver never reads a record for the top bit).
template <typename M>
struct CascadeCtrlOutletRecords
{
    typedef MaskTraits<M> Traits;
    static constexpr int kLastOutlet = Traits::kWidth - 2;

    static bool inRange(int outlet) { return outlet >= 0 && outlet <= kLastOutlet; }

    // The records by outlet; a later one for the same outlet replaces an
    // earlier one, outlets out of range are dropped with a log line.
    template <typename Record, typename Outlet>
    static std::map<int, const Record*> collect(const std::vector<Record>& list, Outlet outletOf, const char* what)
    {
        std::map<int, const Record*> out;
        for (const Record& record : list)
            add(out, outletOf(record), &record, what);
        return out;
    }
    template <typename Record>
    static std::map<int, const Record*> collect(const std::map<int, Record>& records, const char* what)
    {
        std::map<int, const Record*> out;
        for (const auto& entry : records)
            add(out, entry.first, &entry.second, what);
        return out;
    }

    template <typename Record>
    static M maskOf(const std::map<int, const Record*>& records)
    {
        M mask = 0;
        for (const auto& entry : records)
            mask = static_cast<M>(mask | Traits::bit(entry.first));
        return mask;
    }

    // Calls readOne(outlet) for each set bit 0..kLastOutlet, lowest first;
    // false as soon as one fails.
    template <typename ReadOne>
    static bool readEach(M mask, ReadOne readOne)
    {
        for (int outlet = 0; outlet <= kLastOutlet; ++outlet)
            if (Traits::test(mask, outlet) && !readOne(outlet))
                return false;
        return true;
    }

private:
    template <typename Record>
    static void add(std::map<int, const Record*>& out, int outlet, const Record* record, const char* what)
    {
        if (inRange(outlet))
            out[outlet] = record;
        else
            LOG_WARN << what << ": outlet " << outlet << " out of range, not sent";
    }
};
}
