#include "support/AlarmProbe.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/core/BoardRoot.h"
#include "support/DeviceRecords.h"
#include "support/TempBoard.h"
#include "support/TestDatabases.h"

namespace test
{
namespace alarm
{
namespace
{
const char* const kMailLog = "/var/log/email.log";
}

std::vector<std::vector<int32_t>> beeperRequests()
{
    std::vector<std::vector<int32_t>> out;
    for (const DeviceRecord& r : readDeviceRecords("/dev/beeper").records)
        out.push_back(r.ints());
    return out;
}

std::vector<int> mirrorTable(int table)
{
    std::string cmd = buildPath("platform/agentlink/agentlink-dump") + " " + std::to_string(table);
    std::vector<int> words;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p)
        return words;
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = ::fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    if (::pclose(p) != 0 || out.find(':') == std::string::npos)
        return words;
    std::istringstream in(out.substr(out.find(':') + 1));
    int w;
    while (in >> w)
        words.push_back(w);
    return words;
}

int deviceStatusWord(int word)
{
    std::vector<int> t = mirrorTable(0);
    return word < static_cast<int>(t.size()) ? t[word] : -99;
}

int outletCurrentStatus(int outlet)
{
    std::vector<int> t = mirrorTable(1);
    size_t at = static_cast<size_t>(7 * outlet + 5);
    return at < t.size() ? t[at] : -99;
}

std::vector<std::string> logRows()
{
    std::vector<std::string> rows;
    const std::string all = queryText(boardDatabase("pdu.db"),
                                      "select group_concat(type || '|' || content, char(10)) from "
                                      "(select type, content from system_logs order by id)");
    if (all == "<null>" || all == "<none>")
        return rows;
    std::istringstream in(all);
    std::string line;
    while (std::getline(in, line))
        rows.push_back(line);
    return rows;
}

void installMailProgram()
{
    ::mkdir(board::path("/usr").c_str(), 0755);
    ::mkdir(board::path("/usr/app").c_str(), 0755);
    const std::string program = board::path("/usr/app/email");
    std::ifstream in(sourcePath("platform/board/app/email"), std::ios::binary);
    std::ofstream(program, std::ios::binary | std::ios::trunc) << in.rdbuf();
    ::chmod(program.c_str(), 0755);
    std::remove(board::path(kMailLog).c_str());
    const std::string pdu = boardDatabase("pdu.db");
    execSql(pdu, "delete from email_settings");
    execSql(pdu, "delete from email_receivers");
    execSql(pdu, "insert into email_settings(status, host, port, username, password, address) "
                 "values(1, 'smtp.example.net', 25, 'pdu', 'pw', 'pdu@example.net')");
    execSql(pdu, "insert into email_receivers(status, name, email) values(1, 'Ops', 'ops@example.net')");
}

std::vector<Mail> sentMails(size_t n)
{
    std::vector<Mail> out;
    for (int i = 0; i < 500; ++i)
    {
        out.clear();
        std::ifstream in(board::path(kMailLog));
        Mail current;
        std::string line;
        while (std::getline(in, line))
        {
            if (line == "--end--")
            {
                out.push_back(current);
                current.clear();
            }
            else
                current.push_back(line);
        }
        if (out.size() >= n)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return out;
}

void reapChildren()
{
    // The stand-in ends at once; waiting for it (boundedly) keeps a later
    // test's "no child was started" check exact.
    for (int i = 0; i < 200; ++i)
    {
        pid_t pid = ::waitpid(-1, nullptr, WNOHANG);
        if (pid < 0)
            return;  // no children left
        if (pid == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}
}
}
