#pragma once
#include <string>

namespace test
{
// A fresh factory set (pdu.db, pdu_default.db, energy.db, outlet.db) made by
// platform/db/mkdb.sh in dir, replacing what is there. Throws on failure.
void makeFactoryDatabases(const std::string& dir);
// The same in the board's /var/www/database below the test's board root;
// returns that folder.
std::string resetBoardDatabases();
// Path of a database of the board, e.g. boardDatabase("pdu.db").
std::string boardDatabase(const std::string& file);
// Runs SQL on a database file (test set-up and checks). Throws on failure.
void execSql(const std::string& file, const std::string& sql);
// The first column of the first row of a query as text; "<none>" without a
// row, "<null>" for NULL.
std::string queryText(const std::string& file, const std::string& sql);
}
