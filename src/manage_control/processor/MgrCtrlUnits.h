#pragma once
#include "DeviceTypes.h"
#include "netext/MaskTraits.h"

namespace MgrCtrl
{
// Which unit a query that is never relayed reports on: this one, or on a
// master a slave as its poll last recorded it.
class MgrCtrlUnits
{
public:
    // On a master, a non-zero address is answered from the slave records.
    static bool fromSlaveRecords(int address);
    // The master's record of the slave at address; null when there is none.
    // Never adds a record to the slave map.
    static const _SlaveDevice* findSlave(int address);

    // The bits of outlets 0 to count-1; a count of the mask's width or more
    // keeps it whole.
    template <typename M>
    static M outletsOf(M mask, int count)
    {
        if (count <= 0)
            return 0;
        return count >= MaskTraits<M>::kWidth ? mask : static_cast<M>(mask & ((M(1) << count) - 1));
    }
};
}
