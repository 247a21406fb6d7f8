#pragma once
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Transaction.h>

#include <utility>

#include "DbAccess.h"

// A table that gains a row per event (the event log, the mail records) keeps
// only its newest rows, so the file stays bounded however long the unit
// runs: each row is added together with the deletion of the oldest rows
// past the bound, in one transaction. Newest means the highest id.
class NewestRows
{
public:
    // Runs insert(db) on a connection to the unit's database and leaves the
    // table its newest keep rows; false on a database error.
    template <typename Insert>
    static bool append(const char* unitPath, const char* table, int keep, Insert&& insert)
    {
        return DbAccess::write(unitPath, [&](SQLite::Database& db) {
            SQLite::Transaction transaction(db);
            std::forward<Insert>(insert)(db);
            trim(db, table, keep);
            transaction.commit();
            return true;
        });
    }

private:
    static void trim(SQLite::Database& db, const char* table, int keep);
};
