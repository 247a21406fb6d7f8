#pragma once
#include <map>
#include <vector>

#include "muduo/base/Timestamp.h"
#include "muduo/base/noncopyable.h"
#include "muduo/net/EventLoop.h"

namespace muduo
{
namespace net
{
class Channel;

// I/O multiplexing behind the loop; used only on the loop's thread.
class Poller : noncopyable
{
public:
    typedef std::vector<Channel*> ChannelList;

    explicit Poller(EventLoop* loop);
    virtual ~Poller();

    // Waits for events and fills activeChannels; returns the poll's return time.
    virtual Timestamp poll(int timeoutMs, ChannelList* activeChannels) = 0;
    virtual void updateChannel(Channel* channel) = 0;
    virtual void removeChannel(Channel* channel) = 0;
    virtual bool hasChannel(Channel* channel) const;

    // epoll, or poll(2) when the environment has MUDUO_USE_POLL.
    static Poller* newDefaultPoller(EventLoop* loop);

    void assertInLoopThread() const { ownerLoop_->assertInLoopThread(); }

protected:
    typedef std::map<int, Channel*> ChannelMap;
    ChannelMap channels_;

private:
    EventLoop* ownerLoop_;
};
}  // namespace net
}  // namespace muduo
