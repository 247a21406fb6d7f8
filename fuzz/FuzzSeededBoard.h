#pragma once
// A board root with the factory's databases and the device record loaded
// from them, for fuzz targets that build their own endpoints: saves succeed
// and the code after them runs. Nothing leaves the process's own network.
#include <SQLiteCpp/Database.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzDatabases.h"
#include "EnergyDatabase.h"
#include "EnergyRecorder.h"
#include "GlobalData.h"
#include "PingTaskContainer.h"
#include "PowerModuleContainer.h"
#include "ScheduledTaskContainer.h"
#include "manage_control/processor/MgrCtrlModules.h"
#include "muduo/net/EventLoop.h"
#include "platform/core/BoardClock.h"

namespace fuzz
{
// Call once, before anything opens a database or a socket.
inline void useSeededBoard()
{
    useBoardRoot();
    offline();
    seedDatabases();
    standIns();
    if (!GlobalData::loadDeviceParamFromDb())
    {
        std::fprintf(stderr, "fuzz: the seeded device record does not load\n");
        std::abort();
    }
}

// Runs SQL on a database of the seeded board (e.g. "pdu.db").
inline void execBoardSql(const char* db, const char* sql)
{
    SQLite::Database(board::path(std::string("/var/www/database/") + db), SQLite::OPEN_READWRITE).exec(sql);
}

// Puts the board's clock back on the host's after an input that set it, so
// that every input starts at the same time of day.
inline void resetBoardClock()
{
    if (const int64_t offset = board::wallClockOffsetMicros())
        board::setWallClock(board::wallClockMicros() - offset);
}

// The modules a request factory is handed: a power-module container with
// no module (it switches nothing), tasks, ping watchdogs and energy.
inline MgrCtrl::MgrCtrlModules seededModules(muduo::net::EventLoop* loop, EnergyDatabase& energy)
{
    MgrCtrl::MgrCtrlModules modules;
    modules.powerModules = std::make_shared<PowerModuleContainer>(loop);
    modules.scheduledTasks = std::make_shared<ScheduledTaskContainer>(loop);
    modules.pingTasks = std::make_shared<PingTaskContainer>(loop, 3);
    modules.energyRecorder = std::make_shared<EnergyRecorder>(loop, energy);
    modules.energyDatabase = &energy;
    return modules;
}

// Ends an input: one pass of the loop, so expired timers of the modules
// gone run (and find nothing); the tasks it added leave the database.
inline void settle(muduo::net::EventLoop& loop, bool tasksAdded)
{
    if (tasksAdded)
        execBoardSql("pdu.db", "DELETE FROM tasks");
    loop.queueInLoop([&loop] { loop.quit(); });
    loop.loop();
}
}
