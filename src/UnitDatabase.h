#pragma once
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "muduo/base/Logging.h"

// A database file of the unit that the daemon keeps open for its whole life
// (energy.db, outlet.db). The file is never created: a missing or unreadable
// file, or one without the expected columns, ends the process with a FATAL
// line naming it, since nothing can run without it.
class UnitDatabase
{
public:
    // probes: statements that must prepare on the file (its tables and columns).
    static std::unique_ptr<SQLite::Database> openOrDie(const char* unitPath,
                                                       std::initializer_list<const char*> probes);

    // Runs work; a SQLite::Exception becomes false, its text logged at
    // ERROR or, given error, handed back there (for a caller that logs a
    // run of failures once).
    template <typename Work>
    static bool guarded(Work&& work, std::string* error = nullptr)
    {
        try
        {
            return work();
        }
        catch (const SQLite::Exception& e)
        {
            if (error)
                *error = e.what();
            else
                LOG_ERROR << e.what();
            return false;
        }
    }
};
