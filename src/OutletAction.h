#pragma once
#include "LocalOutlets.h"

class PowerModuleContainer;

// The outlet action rule: 1 switches on after the outlet's on delay, 0 off
// after its off delay, anything else restarts (off after the off delay, on
// again after the restart delay); a delay below 1 s switches at once. Every
// command asks the container for its acknowledgement retries. Only this
// unit's outlets are switched. Loop thread only; cheap to make per request.
class OutletAction
{
public:
    // What an action other than 0 and 1 does.
    enum Others
    {
        kOthersRestart,
        kOthersIgnored,  // only 2 restarts
    };

    explicit OutletAction(PowerModuleContainer& modules, Others others = kOthersRestart)
        : modules_(modules), others_(others)
    {
    }

    // False (nothing switched) for a port that is not an outlet of this unit.
    bool apply(int port, int action) const;

    // Every outlet of this unit whose bit is set, lowest first; other bits
    // are left alone.
    template <typename M>
    void applyMask(M mask, int action) const
    {
        MaskTraits<M>::forEachSetBit(LocalOutlets::within(mask), [&](int port) { apply(port, action); });
    }

private:
    PowerModuleContainer& modules_;
    Others others_;
};
