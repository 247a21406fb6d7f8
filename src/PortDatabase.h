#pragma once
#include <SQLiteCpp/Database.h>

#include <map>
#include <memory>
#include <string>

// The wanted on/off state of every outlet in outlet.db, restored after a
// restart. Outlet sets travel as 32-bit masks (bit n = outlet n). Every
// operation logs a database error at ERROR and returns false.
class PortDatabase
{
public:
    static const char* const s_dbName;

    // Ends the process (FATAL) when outlet.db is missing or unusable.
    PortDatabase();
    ~PortDatabase();
    PortDatabase(const PortDatabase&) = delete;
    PortDatabase& operator=(const PortDatabase&) = delete;

    // Writes, in one transaction, ports firstPort..lastPort (within 0..31)
    // whose changedMask bit is set: 1 when their onMask bit is set, else 0.
    // Given error, a database error is handed back there instead of logged.
    bool updatePortsStatus(int firstPort, int lastPort, unsigned int changedMask, unsigned int onMask,
                           std::string* error = nullptr);
    // port -> on_off of every stored outlet of this unit; rows of ports
    // outside 0..outlet count - 1 are skipped.
    bool loadPortStatus(std::map<int, int>& out);
    bool updatePortStatus(int port, int onOff);
    // Sets or clears the bits of stored ports between firstPort and lastPort
    // (within 0..31); other bits keep what the caller put in.
    bool loadPortsStatus(int firstPort, int lastPort, unsigned int& mask);

private:
    std::unique_ptr<SQLite::Database> db_;
};
