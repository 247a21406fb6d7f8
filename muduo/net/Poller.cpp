#include "muduo/net/Poller.h"

#include <cstdlib>

#include "muduo/net/Channel.h"
#include "muduo/net/poller/EPollPoller.h"
#include "muduo/net/poller/PollPoller.h"

namespace muduo
{
namespace net
{
Poller::Poller(EventLoop* loop) : ownerLoop_(loop) {}

Poller::~Poller() = default;

bool Poller::hasChannel(Channel* channel) const
{
    assertInLoopThread();
    ChannelMap::const_iterator it = channels_.find(channel->fd());
    return it != channels_.end() && it->second == channel;
}

Poller* Poller::newDefaultPoller(EventLoop* loop)
{
    if (::getenv("MUDUO_USE_POLL"))
        return new PollPoller(loop);
    return new EPollPoller(loop);
}
}  // namespace net
}  // namespace muduo
