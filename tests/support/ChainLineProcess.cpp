#include "support/ChainLineProcess.h"

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "support/TempBoard.h"
#include "support/TestDatabases.h"

namespace test
{
ChainLineProcess::ChainLineProcess(const std::vector<std::string>& roots, const std::vector<std::string>& options)
    : logFile_(roots.at(0) + "/chainline.log")
{
    std::vector<std::string> words{buildPath("platform/chainline/chainline"), "--log", logFile_};
    words.insert(words.end(), options.begin(), options.end());
    for (const std::string& root : roots)
        words.push_back(root + "/dev/ttyS3");
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(&w[0]);
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    if ((pid_ = ::fork()) == 0)
    {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlives a crashed test
        if (::getppid() == parent)
            ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (pid_ > 0 && waitForLog("end " + std::to_string(roots.size() - 1) + " " + words.back() + " -> ", 10))
        return;
    stop();
    throw std::runtime_error("chainline did not start (log " + logFile_ + ")");
}

ChainLineProcess::~ChainLineProcess() { stop(); }

void ChainLineProcess::stop()
{
    if (pid_ > 0)
    {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
}

std::string ChainLineProcess::log() const
{
    std::stringstream text;
    text << std::ifstream(logFile_).rdbuf();
    return text.str();
}

bool ChainLineProcess::waitForLog(const std::string& text, double timeoutSeconds, int times) const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    const auto count = [&](const std::string& now) {
        int found = 0;
        for (size_t at = now.find(text); at != std::string::npos; at = now.find(text, at + 1))
            ++found;
        return found;
    };
    while (count(log()) < times)
    {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void ChainLineProcess::setRole(const std::string& root, int address, const std::vector<int>& slaves)
{
    std::string list;
    for (int slave : slaves)
        list += (list.empty() ? "{\"addr\":" : ",{\"addr\":") + std::to_string(slave) + "}";
    execSql(root + "/var/www/database/pdu.db",
            "insert or replace into settings(name, value) values ('pdu_type', '"
                + std::string(address == 0 ? "master" : "slave") + "'), ('slave_address', '"
                + std::to_string(address) + "'), ('slave_addresses', '[" + list + "]')");
}
}
