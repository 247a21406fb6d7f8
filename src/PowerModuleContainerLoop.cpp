#include "PowerModuleContainer.h"

#include "PduTimer.h"
#include "PowerModule.h"
#include "RelayActionTrigger.h"
#include "muduo/base/LogLimiter.h"
#include "muduo/base/Logging.h"

// The module's status report closes the loop on what the replies left open.

namespace
{
muduo::LogLimiter& loopLines()
{
    static muduo::LogLimiter lines(1.0, PowerModuleContainer::kPortCount);
    return lines;
}
}

bool PowerModuleContainer::underWay(int port) const
{
    return awaiting_[port] || restartOnArmed_[port] || trigger_->pendingActions(port) > 0 ||
           (!modules_.empty() && modules_[0]->relayFrameWaiting(port));
}

void PowerModuleContainer::closeLoop(int outlets, unsigned char onBits, unsigned char freshBits)
{
    // A report of fewer outlets says nothing of the others.
    freshBits &= ShownOutlets::named(outlets);
    shown_.reported(outlets, onBits, freshBits);
    reportedOff_ = static_cast<unsigned char>((reportedOff_ & ~freshBits) | (~onBits & freshBits));
    const muduo::Timestamp now = muduo::Timestamp::now(true);
    // Whatever the ledger guessed of the replies, the module's own report of
    // a poll it heard after the outlet's last frame says what the outlet is.
    for (int p = 0; p < outlets && p < kPortCount; ++p)
        if (wanted_[p] >= 0 && (freshBits >> p & 1))
            followUp(p, onBits >> p & 1, now);
}

void PowerModuleContainer::followUp(int port, bool on, muduo::Timestamp now)
{
    const bool restart = pendingActions_[port] & kRestartFlag;  // its off not known carried out
    if (restart && awaiting_[port] && !on && !modules_[0]->relayFrameWaiting(port))
    {
        endWait(port);  // the report tells what no reply could
        armRestartOn(port);
        return;
    }
    const bool asAsked = !restart && on == (wanted_[port] == 1);
    if (!asAsked)
        backoff_.strayed(port);
    if (underWay(port))
        return;
    if (asAsked)
    {
        followed(port, now);
        return;
    }
    int64_t held = 0;
    if (restart && !on)
    {
        if (loopLines().allow(&held))
            LOG_WARN << "port:" << port << " found off, its restart goes on" << muduo::LogLimiter::note(held);
        portOperationStarted(port);
        armRestartOn(port);
        return;
    }
    if (!backoff_.due(port, now))
        return;
    // One warning, at the second try, when it is found not following: a
    // single wrong state put right at once is no news.
    const int tries = backoff_.tried(port, now);
    if (tries > 2)
    {
        LOG_INFO << "port:" << port << " switched again, try " << tries;
    }
    else if (loopLines().allow(&held))
    {
        if (tries == 1)
        {
            LOG_INFO << "port:" << port << " found " << (on ? "on" : "off") << ", switched again"
                     << muduo::LogLimiter::note(held);
        }
        else
        {
            LOG_WARN << "port:" << port << " does not follow: it should be " << (on ? "off" : "on")
                     << "; switched again less and less often" << muduo::LogLimiter::note(held);
        }
    }
    switchAgain(port, restart ? kRestartFlag : wanted_[port]);
}

void PowerModuleContainer::followed(int port, muduo::Timestamp now)
{
    const int tries = backoff_.followed(port, now);
    int64_t held = 0;
    if (tries > 1 && loopLines().allow(&held))
        LOG_WARN << "port:" << port << " follows again after " << tries << " tries" << muduo::LogLimiter::note(held);
}

void PowerModuleContainer::startOver(int port)
{
    // A run warned of ends here too: every "does not follow" gets its end in the log.
    const int tries = backoff_.reset(port);
    int64_t held = 0;
    if (tries > 1 && loopLines().allow(&held))
        LOG_WARN << "port:" << port << " left to a new command after " << tries << " tries"
                 << muduo::LogLimiter::note(held);
}

void PowerModuleContainer::switchAgain(int port, int action)
{
    if (!controlRelayRequest(port, static_cast<unsigned char>(action & 0x7F)))
        return;
    byLoop_[port] = true;
    began(port, action, 0, false);
    portOperationStarted(port);
}
