#pragma once
#include <functional>

namespace muduo
{
namespace net
{
class EventLoop;
}
}

namespace test
{
// Runs the loop on the calling thread until done() holds (checked every few
// milliseconds) or the time-out passes; true when done() held.
bool loopUntil(muduo::net::EventLoop& loop, const std::function<bool()>& done, double timeoutSeconds);
}
