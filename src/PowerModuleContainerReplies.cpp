#include "PowerModuleContainer.h"

#include "PduTimer.h"
#include "PowerModule.h"
#include "muduo/base/Logging.h"

// What comes back from the module for relay frames: their acknowledgements,
// or the silence that makes a frame go again.

void PowerModuleContainer::onRelayFrameOut(int port, unsigned char action, int request, double carriedIn)
{
    if (port < 0 || port >= kPortCount)
        return;
    if (action == 1)  // a report from before it no longer tells the outlet off
        reportedOff_ &= static_cast<unsigned char>(~(1u << port));
    if (request != requests_[port] || !awaiting_[port])
        return;
    // The wait counts from when the line has carried the frame, not from
    // its turn in the queue; a copy's wait replaces the one before.
    ackTimers_[port]->cancel();
    ackTimers_[port]->runAfter(kAckTimeout + carriedIn);
}

void PowerModuleContainer::onControlRelayAckCallback(int port, unsigned char action, unsigned char result,
                                                     int request, bool sure)
{
    if (port < 0 || port >= kPortCount)
    {
        LOG_WARN << "relay reply for port " << port << " dropped";
        return;
    }
    // Only a reply to the newest request, while it awaits one, ends its wait.
    // One that answers no frame out ends nothing: no frame is dropped while
    // its reply may come, so it is one nobody asked for.
    const bool newest = awaiting_[port] && request == requests_[port];
    const bool restart = pendingActions_[port] & kRestartFlag;
    // A restart's off is carried out only by a reply that answers its own
    // frame: one that may answer an earlier off of the outlet leaves it waiting.
    if (newest && !(restart && result == 0 && !sure && !offKnown_[port]))
    {
        endWait(port);
        if (result == 0 && !byLoop_[port])
            shown_.acknowledged(port, action == 1);
        if (restart && result == 0)
            armRestartOn(port);
        else  // done, or a refused restart's off, which the loop takes up again
            portOperationEnded(port);
    }
    if (relayReplyCallback_)
        relayReplyCallback_(port, action, result);
}

void PowerModuleContainer::endWait(int port)
{
    awaiting_[port] = false;
    if (!modules_.empty())  // its copies still waiting for the line ask what is done
        modules_[0]->withdrawRelayCopies(port);
    ackTimers_[port]->cancel();
}

void PowerModuleContainer::onAckTimeout(int port)
{
    // A newer frame still waiting for the line brings its own wait.
    if (port < 0 || port >= kPortCount || modules_.empty() || !awaiting_[port] ||
        modules_[0]->relayFrameWaiting(port))
        return;
    if (modules_[0]->relayReplyComing(port))
    {
        // The module is answering, in order, and has not shown the frame lost: it waits behind others.
        ackTimers_[port]->runAfter(kAckTimeout);
        return;
    }
    const int action = pendingActions_[port] & 0x7F;
    if (retryBudgets_[port] < 1)
    {
        // Failed for good: a late reply tells the outlet's state, and ends nothing again.
        awaiting_[port] = false;
        if ((pendingActions_[port] & kRestartFlag) && offKnown_[port])
        {
            armRestartOn(port);  // its off lost, the outlet off already
            return;
        }
        if (relayFailedCallback_)
            relayFailedCallback_(port, static_cast<unsigned char>(action));
        portOperationEnded(port);
        return;
    }
    --retryBudgets_[port];
    if (modules_[0]->quietSinceRelayFrame(port))
    {
        // The module left what went after it unanswered too: quiet, not the
        // frame lost. A copy would only wait with them; the tries still count.
        ackTimers_[port]->runAfter(kAckTimeout);
        return;
    }
    LOG_INFO << "retry, port:" << port << " action:" << action;
    // A copy: the first one's reply may yet come, and answers the same request.
    controlRelayRequest(port, static_cast<unsigned char>(action), true);
}

int PowerModuleContainer::shownState(int port) const { return shown_.state(port); }

unsigned char PowerModuleContainer::shownBits(int module, unsigned char onBits) const
{
    return module == 0 ? shown_.bits(onBits) : onBits;
}

bool PowerModuleContainer::loopHolds(int port) const { return backoff_.tries(port) > 0; }
