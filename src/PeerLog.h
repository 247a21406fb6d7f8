#pragma once
#include <array>
#include <memory>

#include "muduo/base/LogLimiter.h"
#include "muduo/base/noncopyable.h"

// The log lines a peer can provoke, held to a bounded rate per request
// interface: whatever a request's handling writes at WARN or above, in any
// module, passes through its interface's limiter while the handler's scope
// lives. The log is on the unit's flash; one client in a loop must not fill it.
class PeerLog : muduo::noncopyable
{
public:
    enum Interface
    {
        kWeb,
        kSnmp,
        kScan,
        kMgrCtrl,
        kConfig,
        kModbus,
        kNetbios,
        kCascade,
        kRelay,
        kInterfaces,
    };

    PeerLog();

    // `const auto scope = peerLog.scope(PeerLog::kWeb);` at the handler's top.
    muduo::LogLimiter::Scope scope(Interface which) { return muduo::LogLimiter::Scope(*limiters_[which]); }

private:
    std::array<std::unique_ptr<muduo::LogLimiter>, kInterfaces> limiters_;
};
