#pragma once
// A unit as the request interfaces see it, for the fuzz targets that carry
// requests out: the factory databases, the device record loaded from them,
// and the server's modules on one event loop that the target turns between
// inputs. The power module writes to a plain file in place of its serial
// line; the process has no network (offline), so ping probes and NTP
// requests go nowhere. One per process, made on the first input.
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "EnergyDatabase.h"
#include "EnergyRecorder.h"
#include "FuzzSeededBoard.h"
#include "GlobalData.h"
#include "NtpTask.h"
#include "PingTaskContainer.h"
#include "PowerModule.h"
#include "PowerModuleContainer.h"
#include "ScheduledTaskContainer.h"
#include "muduo/net/EventLoop.h"

namespace fuzz
{
class SeededBoard
{
public:
    // Inputs between two clean-ups of what requests add to the tables.
    static const int kInputsPerCleanUp = 256;

    SeededBoard() : prepared_(prepare()), loop_(new muduo::net::EventLoop)
    {
        outlets = std::make_shared<PowerModuleContainer>(loop());
        outlets->addPowerModule(outlets->createPowerModule(loop(), 0, true, true));
        tasks = std::make_shared<ScheduledTaskContainer>(loop());
        pings = std::make_shared<PingTaskContainer>(loop(), 3);
        ntp = std::make_shared<NtpTask>(loop(), 24);  // never started: it would resolve names
        energy.reset(new EnergyDatabase);
        recorder = std::make_shared<EnergyRecorder>(loop(), *energy);
    }

    muduo::net::EventLoop* loop() const { return loop_.get(); }

    // After each input: one pass of the loop, so due timers (acknowledgement
    // time-outs, delayed switching, ping time-outs) and queued work run as
    // between two requests on the unit; now and then the rows and timers
    // that requests add go, so that memory measures the daemon alone.
    void afterInput()
    {
        loop_->queueInLoop([this] { loop_->quit(); });
        loop_->wakeup();
        loop_->loop();
        if (++inputs_ % kInputsPerCleanUp == 0)
            cleanUp();
    }

    std::shared_ptr<PowerModuleContainer> outlets;
    std::shared_ptr<ScheduledTaskContainer> tasks;
    std::shared_ptr<PingTaskContainer> pings;
    std::shared_ptr<NtpTask> ntp;
    std::unique_ptr<EnergyDatabase> energy;
    std::shared_ptr<EnergyRecorder> recorder;

private:
    static bool prepare()
    {
        useSeededBoard();
        makeBoardDir("/dev");
        std::ofstream(board::path(PowerModuleContainer::s_moduleDevFileNames[0]), std::ios::trunc);
        return true;
    }

    void cleanUp()
    {
        SQLite::Database pdu(board::path(GlobalData::s_dbName), SQLite::OPEN_READWRITE);
        SQLite::Statement last(pdu, "select seq from sqlite_sequence where name='tasks'");
        const int newest = last.executeStep() ? last.getColumn(0).getInt() : 0;
        for (int id = clearedTasks_ + 1; id <= newest; ++id)
            tasks->deleteScheduledTask(id);
        clearedTasks_ = newest;
        if (tasks->size() != 0)
        {
            std::fprintf(stderr, "fuzz: %zu scheduled tasks without a row\n", tasks->size());
            std::abort();
        }
        pdu.exec("delete from tasks; delete from email_records");
        SQLite::Database(board::path(EnergyDatabase::s_dbName), SQLite::OPEN_READWRITE).exec("delete from statistics");
        if (::truncate(board::path(PowerModuleContainer::s_moduleDevFileNames[0]).c_str(), 0) != 0)
            std::abort();
    }

    bool prepared_;
    std::unique_ptr<muduo::net::EventLoop> loop_;
    int inputs_ = 0;
    int clearedTasks_ = 0;
};
}
