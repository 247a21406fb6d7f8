#pragma once
#include <cstdint>
#include <vector>

#include "LocalOutlets.h"

class PowerModuleContainer;

// The outlet action rule: 1 switches on after the outlet's on delay, 0 off
// after its off delay, anything else restarts (off after the off delay, on
// again after the restart delay); a delay below 1 s switches at once. Every
// command asks the container for its acknowledgement retries. Only this
// unit's outlets are switched, each once however often a request names it,
// in the order asked: a list's in its order (an outlet at its first place),
// a mask's ascending, since an operator sequences power that way. A request
// is carried out whole or not at all: when one of its outlets has no room
// for one more delayed action, or one switches at once while the module's
// line is backed up, nothing is switched (a scheduled task, which no one
// answers, excepted). Loop thread only; cheap to make per request.
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

    // False (nothing switched) for a port that is not an outlet of this
    // unit, or a request refused.
    bool apply(int port, int action) const;

    // Every outlet of this unit whose bit is set; other bits are left alone.
    // False when refused (or a switching call failed).
    template <typename M>
    bool applyMask(M mask, int action) const
    {
        return ignored(action) || applyAll(fromMask(mask, action));
    }

    // The outlets of a list; numbers that are no outlet of this unit are
    // skipped (with a line at a bounded rate).
    bool applyList(const std::vector<int>& ports, int action) const;

    typedef uint64_t Outlets;  // bit p: outlet p
    // One request that switches some outlets on and others off (bits of
    // outlets this unit lacks are left alone), ascending, each outlet with
    // its own action; whole or not at all too.
    bool applyOnOff(Outlets on, Outlets off) const;

    // A scheduled task has no one to answer: each of its outlets with room
    // is switched, each without is left alone; one line a run names the task
    // and every outlet it left alone.
    void applyTask(int task, unsigned int ports, int action) const;

private:
    static_assert(_Device::kPortSlots <= 64, "an outlet set holds every outlet slot");

    // One request's outlets in switching order, each once, with its action.
    struct Steps
    {
        int count = 0;
        Outlets named = 0;
        int ports[_Device::kPortSlots] = {};
        int actions[_Device::kPortSlots] = {};

        void add(int port, int action);
    };

    template <typename M>
    static Steps fromMask(M mask, int action)
    {
        Steps steps;
        MaskTraits<M>::forEachSetBit(LocalOutlets::within(mask), [&](int port) { steps.add(port, action); });
        return steps;
    }

    bool applyAll(const Steps& steps) const;
    bool admits(const Steps& steps) const;
    bool hasRoom(int port, int action) const;
    bool switchAll(const Steps& steps) const;
    // The delay an action waits on the outlet before its first step.
    int firstDelay(int port, int action) const;
    bool switchOne(int port, int action) const;
    bool ignored(int action) const { return action != 0 && action != 1 && action != 2 && others_ == kOthersIgnored; }

    PowerModuleContainer& modules_;
    Others others_;
};
