#include "muduo/net/poller/PollPoller.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <poll.h>

#include "muduo/base/Logging.h"
#include "muduo/net/Channel.h"

namespace muduo
{
namespace net
{
PollPoller::PollPoller(EventLoop* loop) : Poller(loop) {}

PollPoller::~PollPoller() = default;

Timestamp PollPoller::poll(int timeoutMs, ChannelList* activeChannels)
{
    int numEvents = ::poll(pollfds_.data(), pollfds_.size(), timeoutMs);
    int savedErrno = errno;
    Timestamp now(Timestamp::now(false));
    if (numEvents > 0)
    {
        fillActiveChannels(numEvents, activeChannels);
    }
    else if (numEvents < 0 && savedErrno != EINTR)
    {
        errno = savedErrno;
        LOG_SYSERR << "PollPoller::poll()";
    }
    return now;
}

void PollPoller::fillActiveChannels(int numEvents, ChannelList* activeChannels) const
{
    for (PollFdList::const_iterator pfd = pollfds_.begin(); pfd != pollfds_.end() && numEvents > 0; ++pfd)
    {
        if (pfd->revents > 0)
        {
            --numEvents;
            ChannelMap::const_iterator ch = channels_.find(pfd->fd);
            assert(ch != channels_.end());
            Channel* channel = ch->second;
            channel->set_revents(pfd->revents);
            activeChannels->push_back(channel);
        }
    }
}

void PollPoller::updateChannel(Channel* channel)
{
    Poller::assertInLoopThread();
    if (channel->index() < 0)
    {
        assert(channels_.find(channel->fd()) == channels_.end());
        struct pollfd pfd;
        pfd.fd = channel->fd();
        pfd.events = static_cast<short>(channel->events());
        pfd.revents = 0;
        pollfds_.push_back(pfd);
        channel->set_index(static_cast<int>(pollfds_.size()) - 1);
        channels_[pfd.fd] = channel;
    }
    else
    {
        int idx = channel->index();
        assert(0 <= idx && idx < static_cast<int>(pollfds_.size()));
        struct pollfd& pfd = pollfds_[idx];
        pfd.fd = channel->fd();
        pfd.events = static_cast<short>(channel->events());
        pfd.revents = 0;
        // A negative fd makes poll(2) skip the slot while keeping it.
        if (channel->isNoneEvent())
            pfd.fd = -channel->fd() - 1;
    }
}

void PollPoller::removeChannel(Channel* channel)
{
    Poller::assertInLoopThread();
    assert(channels_.find(channel->fd()) != channels_.end());
    assert(channel->isNoneEvent());
    int idx = channel->index();
    assert(0 <= idx && idx < static_cast<int>(pollfds_.size()));
    channels_.erase(channel->fd());
    if (static_cast<size_t>(idx) != pollfds_.size() - 1)
    {
        int channelAtEnd = pollfds_.back().fd;
        std::iter_swap(pollfds_.begin() + idx, pollfds_.end() - 1);
        if (channelAtEnd < 0)
            channelAtEnd = -channelAtEnd - 1;
        channels_[channelAtEnd]->set_index(idx);
    }
    pollfds_.pop_back();
    channel->set_index(-1);
}
}  // namespace net
}  // namespace muduo
