#include "PeerLog.h"

PeerLog::PeerLog()
{
    for (auto& limiter : limiters_)
        limiter = std::make_unique<muduo::LogLimiter>(1.0, muduo::LogLimiter::kPeerLinesPerSecond);
}
