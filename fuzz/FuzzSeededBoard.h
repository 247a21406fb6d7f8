#pragma once
// A board root with the factory's databases and the device record loaded
// from them, for fuzz targets that build their own endpoints: saves succeed
// and the code after them runs. Nothing leaves the process's own network.
#include <SQLiteCpp/Database.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzDatabases.h"
#include "GlobalData.h"
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
}
