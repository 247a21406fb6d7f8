#include "support/LoopUntil.h"

#include "muduo/net/EventLoop.h"

namespace test
{
bool loopUntil(muduo::net::EventLoop& loop, const std::function<bool()>& done, double timeoutSeconds)
{
    if (done())
        return true;
    bool reached = false;  // done() may consume what it checks: ask it once per tick
    muduo::net::TimerId poll = loop.runEvery(0.005, [&] {
        if (!reached && done())
        {
            reached = true;
            loop.quit();
        }
    });
    muduo::net::TimerId limit = loop.runAfter(timeoutSeconds, [&] { loop.quit(); });
    loop.loop();
    loop.cancel(poll);
    loop.cancel(limit);
    return reached;
}
}
