#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "DeviceRecords.h"
#include "muduo/base/Timestamp.h"
#include "muduo/base/noncopyable.h"

namespace muduo
{
namespace net
{
class EventLoop;
}
}

class PduTimer;

// One outlet task on the wall clock: once at its date and time, or weekly on
// the weekdays of its repeat mask (bit 0 Sunday to bit 6 Saturday). Always
// held by a shared_ptr: a firing hands the task itself to the run callback.
class ScheduledTask : muduo::noncopyable, public std::enable_shared_from_this<ScheduledTask>
{
public:
    typedef std::function<void(const std::shared_ptr<ScheduledTask>&)> RunCallback;

    ScheduledTask(muduo::net::EventLoop* loop, int id, unsigned int ports, unsigned char repeat, int action,
                  const _DeviceDateTime& when);
    virtual ~ScheduledTask();

    void setRunCallback(RunCallback cb) { runCallback_ = std::move(cb); }

    // Arms the first run; nothing when armed.
    void start();
    // Arms the next weekly run after a firing; nothing when armed.
    void next();
    void stop();
    void onTimeout();

    void modify(unsigned int ports, unsigned char repeat, int action, const _DeviceDateTime& when);

    int id() const { return id_; }
    unsigned int ports() const { return ports_; }
    int action() const { return action_; }
    unsigned char repeat() const { return repeat_; }
    bool armed() const { return armed_; }
    // The wall-clock time armed last (meaningful while armed).
    muduo::Timestamp armedAt() const { return armedAt_; }

private:
    // The weekday bits alone; a mask without any counts as no repeat.
    unsigned weekdays() const { return repeat_ & 0x7Fu; }
    void arm(int64_t micros);

    int id_;
    bool armed_;
    std::shared_ptr<PduTimer> timer_;
    unsigned int ports_;
    unsigned char repeat_;
    int action_;
    _DeviceDateTime when_;
    muduo::Timestamp armedAt_;
    RunCallback runCallback_;
};
