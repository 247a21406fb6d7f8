#pragma once
// A module on the emulator and a peer flooding it with switching requests.
#include <utility>
#include <vector>

#include "GlobalData.h"
#include "OutletAction.h"
#include "PowerModuleFixture.h"

namespace pmtest
{
// Switching requests of one outlet each, by default four a millisecond: far beyond the line.
class FloodedModule : public pmtest::PowerModuleFixture
{
protected:
    struct Asked
    {
        int port, action;
        Clock::time_point at;
    };

    // The module on a line at its pace, answering at replyPercent of it, polled as the daemon polls it.
    void startPolled(int replyPercent)
    {
        emu.setLinePace(PowerModule::kLineBytesPerSecond);
        emu.setReplyPace(PowerModule::kLineBytesPerSecond * replyPercent / 100);
        makeContainer();
        container->startQueryAllOutputsStatus(0.5);
        container->startQueryAllPortsMeterData(0.1);
    }

    void startFlood(double every = 0.001, int each = 4)
    {
        outlets_ = std::exchange(GlobalData::getDevice().portCount, 8);
        flood_ = loop.runEvery(every, [this, each] {
            for (int i = 0; i < each; ++i, ++asked_)
            {
                const Clock::time_point at = Clock::now();  // its frame may be carried before it returns
                if (OutletAction(*container).applyList({asked_ % 8}, asked_ % 2))
                    accepted.push_back({asked_ % 8, asked_ % 2, at});
            }
        });
    }

    void stopFlood()
    {
        loop.cancel(flood_);
        GlobalData::getDevice().portCount = outlets_;
    }

    // Each relay frame the module heard that is the accepted command next (a copy of one before it is not); how
    // many were.
    template <typename Seen> size_t inOrder(Seen seen) const
    {
        size_t next = 0;
        for (const auto& frame : requestsOf(emu, 2))
            if (next < accepted.size() && accepted[next].port == frame.payload[0] &&
                accepted[next].action == frame.payload[1] && frame.received > accepted[next].at)
                seen(accepted[next++], frame);
        return next;
    }

    std::vector<Asked> accepted;

private:
    int asked_ = 0, outlets_ = 0;
    muduo::net::TimerId flood_;
};
}
