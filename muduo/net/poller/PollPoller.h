#pragma once
#include <vector>

#include "muduo/net/Poller.h"

struct pollfd;

namespace muduo
{
namespace net
{
// poll(2); a channel's index is its slot in the pollfd array.
class PollPoller : public Poller
{
public:
    explicit PollPoller(EventLoop* loop);
    ~PollPoller() override;

    Timestamp poll(int timeoutMs, ChannelList* activeChannels) override;
    void updateChannel(Channel* channel) override;
    void removeChannel(Channel* channel) override;

private:
    void fillActiveChannels(int numEvents, ChannelList* activeChannels) const;

    typedef std::vector<struct pollfd> PollFdList;
    PollFdList pollfds_;
};
}  // namespace net
}  // namespace muduo
