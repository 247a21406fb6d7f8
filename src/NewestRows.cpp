#include "NewestRows.h"

#include <SQLiteCpp/Statement.h>

#include <string>

void NewestRows::trim(SQLite::Database& db, const char* table, int keep)
{
    // Every row up to the first one past the newest keep; none while the
    // table holds no more than keep rows (the subquery is then NULL).
    const std::string name(table);
    SQLite::Statement trim(db, "delete from " + name + " where id <= (select id from " + name +
                                   " order by id desc limit 1 offset ?)");
    trim.bind(1, keep);
    trim.exec();
}
