#pragma once
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>

#include <string>
#include <utility>

#include "muduo/base/Logging.h"
#include "platform/core/BoardRoot.h"

// One connection per call: opens a database of the unit for this call alone,
// runs the work on it and closes it again. A SQLite::Exception is logged at
// ERROR with its text and turns into false, so a broken or missing file never
// ends the process.
class DbAccess
{
public:
    // Other programs of the unit (the web server) read these files too: a
    // write that finds one reading waits this long for it instead of failing
    // at once and losing what it was to store.
    static constexpr int kBusyMillis = 500;

    template <typename Work>
    static bool run(const char* unitPath, int flags, Work&& work)
    {
        try
        {
            SQLite::Database db(board::path(unitPath), flags, kBusyMillis);
            return work(db);
        }
        catch (const SQLite::Exception& e)
        {
            LOG_ERROR << e.what();
            return false;
        }
    }

    template <typename Work>
    static bool read(const char* unitPath, Work&& work)
    {
        return run(unitPath, SQLite::OPEN_READONLY, std::forward<Work>(work));
    }

    template <typename Work>
    static bool write(const char* unitPath, Work&& work)
    {
        return run(unitPath, SQLite::OPEN_READWRITE, std::forward<Work>(work));
    }
};
