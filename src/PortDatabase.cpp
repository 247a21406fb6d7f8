#include "PortDatabase.h"

#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <utility>
#include <vector>

#include "GlobalData.h"
#include "UnitDatabase.h"
#include "muduo/base/Logging.h"

const char* const PortDatabase::s_dbName = "/var/www/database/outlet.db";

namespace
{
const char* const kReplace = "replace into status(port, on_off) values(?, ?)";

bool inMask(int port) { return port >= 0 && port < 32; }
}

PortDatabase::PortDatabase() : db_(UnitDatabase::openOrDie(s_dbName, {"select port, on_off from status"})) {}

PortDatabase::~PortDatabase() = default;

bool PortDatabase::updatePortsStatus(int firstPort, int lastPort, unsigned int changedMask, unsigned int onMask,
                                     std::string* error)
{
    std::vector<std::pair<int, int>> rows;
    for (int port = firstPort; port <= lastPort; ++port)
        if (inMask(port) && (changedMask & (1u << port)))
            rows.emplace_back(port, (onMask & (1u << port)) ? 1 : 0);
    const bool stored = UnitDatabase::guarded(
        [&] {
            SQLite::Transaction transaction(*db_);
            for (const auto& row : rows)
            {
                SQLite::Statement q(*db_, kReplace);
                q.bind(1, row.first);
                q.bind(2, row.second);
                q.exec();
            }
            transaction.commit();
            return true;
        },
        error);
    if (!stored)
        return false;
    // Only what was stored: a caller may try again after a failure.
    for (const auto& row : rows)
        LOG_INFO << "update port:" << row.first << " status:" << row.second;
    return true;
}

bool PortDatabase::loadPortStatus(std::map<int, int>& out)
{
    const int count = GlobalData::getDevice().portCount;
    LOG_INFO << "portNum:" << count;
    out.clear();
    return UnitDatabase::guarded([&] {
        SQLite::Statement q(*db_, "select * from status");
        while (q.executeStep())
        {
            const int port = q.getColumn("port").getInt();
            const int onOff = q.getColumn("on_off").getInt();
            // A port from the file is never trusted as an index.
            if (port < 0 || port >= count)
                continue;
            out[port] = onOff;
            LOG_INFO << "port:" << port << ",onOff:" << onOff;
        }
        return true;
    });
}

bool PortDatabase::updatePortStatus(int port, int onOff)
{
    return UnitDatabase::guarded([&] {
        SQLite::Statement q(*db_, kReplace);
        q.bind(1, port);
        q.bind(2, onOff);
        if (q.exec() == 0)
        {
            LOG_INFO << "update port status failed";
            return false;
        }
        return true;
    });
}

bool PortDatabase::loadPortsStatus(int firstPort, int lastPort, unsigned int& mask)
{
    return UnitDatabase::guarded([&] {
        SQLite::Statement q(*db_, "select * from status where port between ? and ?");
        q.bind(1, firstPort);
        q.bind(2, lastPort);
        while (q.executeStep())
        {
            const int port = q.getColumn("port").getInt();
            if (!inMask(port))
                continue;
            if (q.getColumn("on_off").getInt() != 0)
                mask |= 1u << port;
            else
                mask &= ~(1u << port);
        }
        return true;
    });
}
