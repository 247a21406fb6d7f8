#pragma once
// The unit's databases on a fuzz target's board root, made from the SQL the
// board ships (platform/db), so that saves succeed and the code after them
// runs; and the stand-ins of the commands the daemon starts.
#include <SQLiteCpp/Database.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "Email.h"
#include "FuzzBoard.h"

#ifndef RAILBOX_SOURCE_DIR
#error "fuzz targets are built with RAILBOX_SOURCE_DIR (fuzz/CMakeLists.txt)"
#endif

namespace fuzz
{
namespace detail
{
// A fuzzing run keeps nothing: no sync at a commit, the journal in memory.
inline int fastConnection(sqlite3* db, const char**, const struct sqlite3_api_routines*)
{
    sqlite3_exec(db, "PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY", nullptr, nullptr, nullptr);
    return SQLITE_OK;
}

inline std::string readSource(const std::string& relative)
{
    std::ifstream in(std::string(RAILBOX_SOURCE_DIR) + "/" + relative);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in || text.empty())
    {
        std::fprintf(stderr, "fuzz: cannot read %s\n", relative.c_str());
        std::abort();
    }
    return text;
}

inline void writeStandIn(const std::string& absolute)
{
    const std::string path = board::path(absolute);
    std::ofstream(path, std::ios::trunc) << "#!/bin/sh\nexit 0\n";
    ::chmod(path.c_str(), 0755);
}
}

// Every database connection the process opens from now on, the daemon's
// own included, syncs nothing and journals in memory.
inline void fastDatabases()
{
    static const int rc = sqlite3_auto_extension(reinterpret_cast<void (*)(void)>(&detail::fastConnection));
    if (rc != SQLITE_OK)
        std::abort();
}

// A fresh factory set below the board root: pdu.db and pdu_default.db from
// pdu.sql, energy.db and outlet.db from theirs; what was there is replaced.
inline void seedDatabases()
{
    fastDatabases();
    makeBoardDir("/var/www/database");
    const char* const files[][2] = {{"pdu.db", "pdu.sql"},
                                    {"pdu_default.db", "pdu.sql"},
                                    {"energy.db", "energy.sql"},
                                    {"outlet.db", "outlet.sql"}};
    for (const auto& file : files)
    {
        const std::string path = board::path(std::string("/var/www/database/") + file[0]);
        std::remove(path.c_str());
        std::remove((path + "-journal").c_str());
        SQLite::Database db(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        db.exec(detail::readSource(std::string("platform/db/") + file[1]));
    }
}

// reboot, hwclock and the mail program as the board's stand-ins that do
// nothing (commands run with PATH=$ROOT/bin alone, never the host's);
// finished children are reaped as the daemon has them reaped.
inline void standIns()
{
    makeBoardDir("/bin");
    makeBoardDir("/usr/app");
    detail::writeStandIn("/bin/reboot");
    detail::writeStandIn("/bin/hwclock");
    detail::writeStandIn(Email::kPath);
    ::signal(SIGCHLD, SIG_IGN);
}
}
