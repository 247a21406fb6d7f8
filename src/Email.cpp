#include "Email.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <unistd.h>

#include <cerrno>

#include "DbAccess.h"
#include "MailQueue.h"
#include "NewestRows.h"
#include "muduo/base/Logging.h"
#include "platform/core/BoardClock.h"
#include "platform/core/BoardRoot.h"

namespace
{
std::string orHash(const std::string& text) { return text.empty() ? "#" : text; }

std::string portText(int outlet) { return std::to_string(static_cast<long long>(outlet) + 1); }
}

pid_t Email::launch(const Message& m)
{
    // Everything the child needs is built before the fork: between fork and
    // exec a threaded process may only make async-signal-safe calls.
    const std::string path = board::path(kPath);
    const std::string args[] = {"--server=" + m.server, "--port=" + m.port,       "--user=" + m.userName,
                                "--pass=" + m.password, "--from=" + m.from,       "--to=" + m.to,
                                "--subject=" + m.subject, "--body=" + m.body};
    pid_t pid = ::fork();
    if (pid == 0)
    {
        ::execl(path.c_str(), kExe, args[0].c_str(), args[1].c_str(), args[2].c_str(), args[3].c_str(),
                args[4].c_str(), args[5].c_str(), args[6].c_str(), args[7].c_str(), static_cast<char*>(nullptr));
        // _exit, not exit: the parent's exit handlers would delete the SNMP
        // agent's shared memory and flush the parent's buffers twice.
        ::_exit(0);
    }
    if (pid < 0)
        LOG_ERROR << "fork for " << path << " failed: " << muduo::strerror_tl(errno);
    return pid;
}

void Email::sendEmail(const std::string& subject, const std::string& body)
{
    if (::access(board::path(kPath).c_str(), F_OK) != 0)
    {
        LOG_WARN << "path not exists:" << kPath;
        return;
    }
    Message m;
    std::string addresses;
    const bool ready = DbAccess::read(s_dbName, [&](SQLite::Database& db) {
        SQLite::Statement settings(db, "select * from email_settings");
        if (!settings.executeStep())
        {
            LOG_INFO << "query failed";
            return false;
        }
        if (settings.getColumn("status").getInt() == 0)
            return false;
        m.server = settings.getColumn("host").getString();
        m.port = std::to_string(settings.getColumn("port").getInt());
        m.userName = settings.getColumn("username").getString();
        m.password = settings.getColumn("password").getString();
        m.from = orHash(m.userName) + "," + settings.getColumn("address").getString();
        m.subject = subject;
        m.body = body;

        SQLite::Statement receivers(db, "select * from email_receivers");
        while (receivers.executeStep())
        {
            if (receivers.getColumn("status").getInt() == 0)
                continue;
            const std::string address = receivers.getColumn("email").getString();
            m.to += (m.to.empty() ? "" : ";") + orHash(receivers.getColumn("name").getString()) + "," + address;
            addresses += (addresses.empty() ? "" : ";") + address;
        }
        return !m.to.empty();
    });
    if (!ready)
        return;

    LOG_INFO << "smtp server:" << m.server << ",smtp port:" << m.port << ",user name:" << m.userName
             << ",password:" << m.password << ",from:" << m.from << ",to:" << m.to << ",subject:" << m.subject
             << ",body:" << m.body;
    // Recorded as its program starts: a mail the queue refuses, or whose
    // program cannot be started, leaves no record.
    MailQueue::instance().submit(MailQueue::kAlarm, [m, addresses] {
        const pid_t pid = launch(m);
        if (pid > 0)
            record(addresses, m.body);
        return pid;
    });
}

void Email::record(const std::string& receivers, const std::string& body)
{
    NewestRows::append(s_dbName, "email_records", kMaxRecords, [&](SQLite::Database& db) {
        SQLite::Statement insert(db, "insert into email_records values(null, ?, ?, ?, datetime(?,'unixepoch'))");
        insert.bind(1, 0);
        insert.bind(2, receivers);
        insert.bind(3, body);
        insert.bind(4, static_cast<int64_t>(board::wallClockSeconds()));
        insert.exec();
    });
}

bool Email::sendEmail(const std::string& server, int port, const std::string& userName, const std::string& password,
                      const std::string& receiver, const std::string& body)
{
    Message m;
    m.server = server;
    m.port = std::to_string(port);
    m.userName = userName;
    m.password = password;
    m.from = "#," + userName;
    m.to = "#," + receiver;
    m.subject = "IP PDU Test";
    m.body = body;
    LOG_INFO << "smtp server:" << m.server << ",smtp port:" << m.port << ",password:" << m.password
             << ",from:" << m.from << ",to:" << m.to << ",subject:" << m.subject << ",body:" << m.body;
    return MailQueue::instance().submit(MailQueue::kTest, [m] { return launch(m); });
}

void Email::sendInputVoltageUpperLimitEmail()
{
    sendEmail("Input voltage warning!", "The input voltage exceeds upper limit!");
}

void Email::sendInputVoltageLowerLimitEmail()
{
    sendEmail("Input voltage warning!", "The input voltage is under lower limit!");
}

void Email::sendInputCurrentUpperLimitEmail()
{
    sendEmail("Input current warning!", "The input current exceeds upper limit!");
}

void Email::sendInputCurrentLowerLimitEmail()
{
    sendEmail("Input current warning!", "The input current is under lower limit!");
}

void Email::sendOutputCurrentUpperLimitEmail(int outlet)
{
    sendEmail("Output current warning!", "The output current of port " + portText(outlet) + " exceeds upper limit!");
}

void Email::sendOutputCurrentLowerLimitEmail(int outlet)
{
    sendEmail("Output current warning!", "The output current of port " + portText(outlet) + " is under lower limit!");
}

void Email::sendOutputCurrentOverloadEmail(int outlet)
{
    sendEmail("Output current overload!", "The output current of port " + portText(outlet) + " is overload!");
}

void Email::sendTempUpperLimitEmail() { sendEmail("Temperature warning!", "The temperature exceeds upper limit!"); }

void Email::sendTempLowerLimitEmail() { sendEmail("Temperature warning!", "The temperature is under lower limit!"); }

void Email::sendHumiUpperLimitEmail() { sendEmail("Humidity warning!", "The humidity exceeds upper limit!"); }

void Email::sendHumiLowerLimitEmail() { sendEmail("Humidity warning!", "The humidity is under lower limit!"); }
