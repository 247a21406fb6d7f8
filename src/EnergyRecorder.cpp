#include "EnergyRecorder.h"

#include <ctime>
#include <vector>

#include "EnergyDatabase.h"
#include "GlobalData.h"
#include "HourlyEvent.h"
#include "muduo/base/Logging.h"
#include "platform/core/BoardClock.h"

namespace
{
const int kInletPort = 255;

// The running counter of a port, or false when the record has no slot for it.
bool realCounter(const _Device& device, int port, unsigned int& energy)
{
    if (port == kInletPort)
        energy = device.energy[_Device::kInletEnergyIndex].realEnergy;
    else if (port >= 0 && port < device.slotCount())
        energy = device.energy[static_cast<size_t>(port)].realEnergy;
    else
        return false;
    return true;
}
}

EnergyRecorder::EnergyRecorder(muduo::net::EventLoop* loop, EnergyDatabase& database)
    : database_(database), hourlyEvent_(std::make_shared<HourlyEvent>(loop))
{
    hourlyEvent_->setCallback([this] { record(); });
}

EnergyRecorder::~EnergyRecorder() = default;

void EnergyRecorder::start() { hourlyEvent_->start(); }

void EnergyRecorder::recordOnStartup() { record(); }

void EnergyRecorder::recordOnTimeChanged()
{
    hourlyEvent_->cancel();
    record();
    hourlyEvent_->start();
}

void EnergyRecorder::record()
{
    time_t seconds = board::wallClockSeconds();
    struct tm now = {};
    ::localtime_r(&seconds, &now);
    const int year = now.tm_year + 1900, month = now.tm_mon + 1, day = now.tm_mday, hour = now.tm_hour;
    LOG_INFO << "cur time,year:" << year << ",month:" << month << ",day:" << day << ",hour:" << hour;

    const _Device& device = GlobalData::getDevice();
    // Outlets beyond the record's counters have nothing to record.
    std::vector<int> ports;
    for (int port = 0; port < device.slotCount(); ++port)
        ports.push_back(port);
    ports.push_back(kInletPort);

    std::vector<PortEnergy> saved;
    if (!database_.loadSaveEnergy(ports, saved))
        return;

    std::vector<PortEnergy> statistics;
    std::vector<PortEnergy> updated;
    for (PortEnergy row : saved)
    {
        LOG_INFO << "port:" << row.port;
        unsigned int current = 0;
        if (!realCounter(device, row.port, current))
            continue;
        if (row.year < 0)
        {
            LOG_INFO << "no datetime";
            row.saveEnergy = current;
        }
        else if (row.year == year && row.month == month && row.day == day && row.hour == hour)
        {
            LOG_INFO << "within one hour";
            if (current < row.saveEnergy)
                row.saveEnergy = current;
            LOG_INFO << "save energy:" << row.saveEnergy;
        }
        else
        {
            LOG_INFO << "not within one hour";
            PortEnergy consumed = row;
            // A counter below its saved value was cleared: nothing consumed.
            consumed.saveEnergy = current > row.saveEnergy ? current - row.saveEnergy : 0;
            statistics.push_back(consumed);
            row.saveEnergy = current;
            LOG_INFO << "save energy:" << row.saveEnergy;
        }
        row.year = year;
        row.month = month;
        row.day = day;
        row.hour = hour;
        updated.push_back(row);
    }
    database_.recordAndUpdateEnergy(statistics, updated);
    database_.deleteStatisticsOutofRange(year, month, day, hour);
}
