// Ping-watchdog settings in the table ping of pdu.db (rows of address 0).
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <arpa/inet.h>

#include "DbAccess.h"
#include "GlobalData.h"
#include "Utility.h"
#include "muduo/base/Logging.h"

bool GlobalData::loadPingSettingFromDb(std::map<int, PingSetting>& settings)
{
    return DbAccess::read(s_dbName, [&](SQLite::Database& db) {
        SQLite::Statement query(db, "select * from ping where addr=0");
        while (query.executeStep())
        {
            PingSetting s;
            s.port = query.getColumn("port").getInt();
            std::string ip = query.getColumn("ip").getString();
            if (ip.empty())
                continue;
            s.interval = query.getColumn("interval").getUInt();
            s.timeout = query.getColumn("timeout").getUInt();
            s.action = query.getColumn("action").getInt();
            s.enabled = query.getColumn("enabled").getInt();
            LOG_INFO << "port:" << s.port << " ip:" << ip << " interval:" << s.interval << " timeout:" << s.timeout
                     << " action:" << s.action << " enabled:" << s.enabled;
            unsigned int network = 0;
            if (!Utility::ipStringToNetwork(ip, network))
            {
                LOG_WARN << "ping setting of port " << s.port << " skipped, bad address:" << ip;
                continue;
            }
            s.ip = ntohl(network);
            settings.emplace(s.port, s);
        }
        return true;
    });
}

bool GlobalData::savePingSettingToDb(const std::map<int, PingSetting>& settings)
{
    return DbAccess::write(s_dbName, [&](SQLite::Database& db) {
        SQLite::Transaction transaction(db);
        SQLite::Statement st(db, "update ping set ip=?,timeout=?,interval=?,action=?,enabled=? where addr=0 and port=?");
        for (const auto& entry : settings)
        {
            const PingSetting& s = entry.second;
            std::string ip;
            Utility::ipNetworkToString(htonl(s.ip), ip);
            st.reset();
            st.bind(1, ip);
            st.bind(2, s.timeout);
            st.bind(3, s.interval);
            st.bind(4, s.action);
            st.bind(5, s.enabled);
            st.bind(6, s.port);
            if (st.exec() == 0)
            {
                LOG_INFO << "action exec failed";
                return false;
            }
        }
        transaction.commit();
        return true;
    });
}
