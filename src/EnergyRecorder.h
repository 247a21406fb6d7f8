#pragma once
#include <memory>

#include "muduo/base/noncopyable.h"

namespace muduo
{
namespace net
{
class EventLoop;
}
}
class EnergyDatabase;
class HourlyEvent;

// Turns the running energy counters of the device record into hourly
// statistics: at every full local hour, at start-up and after a client set
// the clock, each port's consumption since its last save is written as one
// row dated with the save's hour, and the new counter is saved with the
// current hour. Loop thread only.
class EnergyRecorder : muduo::noncopyable
{
public:
    EnergyRecorder(muduo::net::EventLoop* loop, EnergyDatabase& database);
    ~EnergyRecorder();

    void start();
    void record();
    void recordOnStartup();
    // Records at once and re-arms the hourly event for the new clock.
    void recordOnTimeChanged();

private:
    EnergyDatabase& database_;
    std::shared_ptr<HourlyEvent> hourlyEvent_;
};
