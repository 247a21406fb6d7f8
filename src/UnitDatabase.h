#pragma once
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>

#include <initializer_list>
#include <iostream>
#include <memory>

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

    // Runs work; a SQLite::Exception is printed to the standard error stream
    // and becomes false.
    template <typename Work>
    static bool guarded(Work&& work)
    {
        try
        {
            return work();
        }
        catch (const SQLite::Exception& e)
        {
            std::cerr << e.what() << '\n';
            return false;
        }
    }
};
