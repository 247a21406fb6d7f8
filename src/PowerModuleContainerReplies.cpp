#include "PowerModuleContainer.h"

#include "PduTimer.h"
#include "PowerModule.h"
#include "RelayActionTrigger.h"
#include "muduo/base/LogLimiter.h"
#include "muduo/base/Logging.h"

// What comes back from the module: the acknowledgements of relay frames, and
// its status report, which closes the loop on them.

void PowerModuleContainer::onRelayFrameOut(int port, unsigned char, int request, double carriedIn)
{
    if (port < 0 || port >= kPortCount || request != requests_[port] || !awaiting_[port])
        return;
    // The wait counts from when the line has carried the frame, not from
    // its turn in the queue; a copy's wait replaces the one before.
    ackTimers_[port]->cancel();
    ackTimers_[port]->runAfter(kAckTimeout + carriedIn);
}

void PowerModuleContainer::onControlRelayAckCallback(int port, unsigned char action, unsigned char result,
                                                     int request)
{
    if (port < 0 || port >= kPortCount)
    {
        LOG_WARN << "relay reply for port " << port << " dropped";
        return;
    }
    // Only a reply to the newest request, while it awaits one, ends its wait.
    // One that answers no frame out (a late one whose frame was forgotten,
    // say) counts too, but not while the outlet's frame is out or waits.
    const PowerModulePtr module = modules_.empty() ? PowerModulePtr() : modules_[0];
    const bool newest = awaiting_[port] && (request >= 0 ? request == requests_[port]
                                                        : !module || (!module->relayFrameOut(port) &&
                                                                      !module->relayFrameWaiting(port)));
    if (!newest)
    {
        if (relayReplyCallback_)
            relayReplyCallback_(port, action, result);
        return;
    }
    awaiting_[port] = false;
    if (module)  // its copies still waiting for the line ask what is done
        module->withdrawRelayCopies(port);
    ackTimers_[port]->cancel();
    if (pendingActions_[port] & kRestartFlag)
        armRestartOn(port);  // once: the flag goes with it
    else
        portOperationEnded(port);
    if (relayReplyCallback_)
        relayReplyCallback_(port, action, result);
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
    int action = pendingActions_[port] & 0x7F;
    if (retryBudgets_[port] < 1)
    {
        // Failed for good: a late reply tells the outlet's state, and ends nothing again.
        awaiting_[port] = false;
        if (relayFailedCallback_)
            relayFailedCallback_(port, static_cast<unsigned char>(action));
        portOperationEnded(port);
        return;
    }
    LOG_INFO << "retry, port:" << port << " action:" << action;
    // A copy: the first one's reply may yet come, and answers the same request.
    controlRelayRequest(port, static_cast<unsigned char>(action), true);
    --retryBudgets_[port];
}

bool PowerModuleContainer::underWay(int port) const
{
    return awaiting_[port] || restartOnArmed_[port] || trigger_->pendingActions(port) > 0 ||
           (!modules_.empty() && modules_[0]->relayFrameWaiting(port));
}

void PowerModuleContainer::closeLoop(int outlets, unsigned char onBits, unsigned char freshBits)
{
    // Whatever the ledger guessed of the replies, the module's own report of
    // a poll it heard after the outlet's last frame says what the outlet is.
    static muduo::LogLimiter s_lines(1.0, kPortCount);
    for (int p = 0; p < outlets && p < kPortCount; ++p)
    {
        if (wanted_[p] < 0 || !(freshBits >> p & 1) || underWay(p))
            continue;
        const bool on = onBits >> p & 1;
        const bool restart = pendingActions_[p] & kRestartFlag;  // its off unacknowledged
        if (!restart && on == (wanted_[p] == 1))
            continue;
        int64_t held = 0;
        if (s_lines.allow(&held))
            LOG_WARN << "port:" << p << " found " << (on ? "on" : "off")
                     << (restart && !on ? ", its restart goes on" : ", switched again")
                     << muduo::LogLimiter::note(held);
        if (restart && !on)
        {
            portOperationStarted(p);
            armRestartOn(p);
        }
        else
            switchAgain(p, restart ? kRestartFlag : wanted_[p]);
    }
}

void PowerModuleContainer::switchAgain(int port, int action)
{
    if (!controlRelayRequest(port, static_cast<unsigned char>(action & 0x7F)))
        return;
    pendingActions_[port] = action;
    retryBudgets_[port] = 0;
    portOperationStarted(port);
}
