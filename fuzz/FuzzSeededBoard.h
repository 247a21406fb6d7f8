#pragma once
// A board root with the factory's databases, for fuzz targets whose requests
// save: the saves succeed and the code after them runs.
#include <SQLiteCpp/Database.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>

#include "FuzzBoard.h"
#include "GlobalData.h"
#include "platform/core/BoardClock.h"
#include "platform/core/BoardRoot.h"

namespace fuzz
{
// The SQL the factory databases are made of (platform/db beside fuzz/).
inline std::string factorySql(const char* file)
{
    const std::filesystem::path dir = std::filesystem::path(__FILE__).parent_path().parent_path() / "platform/db";
    std::ifstream in(dir / file);
    if (!in)
    {
        std::fprintf(stderr, "fuzz: cannot read %s\n", (dir / file).c_str());
        std::abort();
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A do-nothing stand-in of a board command (reboot, hwclock), so that the
// daemon's calls of it neither fail noisily nor reach the host's.
inline void makeBoardCommand(const char* name)
{
    makeBoardDir("/bin");
    const std::string path = board::path(std::string("/bin/") + name);
    std::ofstream(path, std::ios::trunc) << "#!/bin/sh\nexit 0\n";
    ::chmod(path.c_str(), 0755);
}

// The board root of useBoardRoot with fresh factory databases (pdu.db,
// pdu_default.db, energy.db, outlet.db, replacing what is there) and the
// device record loaded from them. The files are made without syncing and
// with the journal in memory: a fuzz run may lose them, no one else. Call
// once, before anything opens a database.
inline void useSeededBoard()
{
    useBoardRoot();
    makeBoardDir("/var/www/database");
    const struct
    {
        const char* db;
        const char* sql;
    } files[] = {{"pdu.db", "pdu.sql"}, {"pdu_default.db", "pdu.sql"}, {"energy.db", "energy.sql"},
                 {"outlet.db", "outlet.sql"}};
    for (const auto& f : files)
    {
        const std::string path = board::path(std::string("/var/www/database/") + f.db);
        std::filesystem::remove(path);
        SQLite::Database db(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        db.exec("PRAGMA synchronous=OFF");
        db.exec("PRAGMA journal_mode=MEMORY");
        db.exec(factorySql(f.sql));
    }
    makeBoardCommand("reboot");
    makeBoardCommand("hwclock");
    if (!GlobalData::loadDeviceParamFromDb())
    {
        std::fprintf(stderr, "fuzz: the seeded device record does not load\n");
        std::abort();
    }
}

// Runs SQL on a database of the seeded board (e.g. "pdu.db"), unsynced.
inline void execBoardSql(const char* db, const char* sql)
{
    SQLite::Database file(board::path(std::string("/var/www/database/") + db), SQLite::OPEN_READWRITE);
    file.exec("PRAGMA synchronous=OFF");
    file.exec(sql);
}

// Puts the board's clock back on the host's after an input that set it, so
// that every input starts at the same time of day.
inline void resetBoardClock()
{
    if (const int64_t offset = board::wallClockOffsetMicros())
        board::setWallClock(board::wallClockMicros() - offset);
}
}
