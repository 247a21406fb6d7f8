#pragma once
// A real peer program (an NTP server, say) run as a child inside the daemon's
// network namespace for as long as the object lives; it never outlives the
// test process.
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fcntl.h>
#include <string>
#include <vector>

namespace e2e
{
class BoardPeer
{
public:
    // args[0] is looked up in PATH; output goes to logFile.
    BoardPeer(pid_t namespaceOf, const std::vector<std::string>& args, const std::string& logFile)
    {
        std::vector<std::string> words{"nsenter", "--net=/proc/" + std::to_string(namespaceOf) + "/ns/net"};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& w : words)
            argv.push_back(&w[0]);
        argv.push_back(nullptr);
        const int out = ::open(logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        const pid_t parent = ::getpid();
        pid_ = ::fork();
        if (pid_ == 0)
        {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != parent)
                ::_exit(126);
            if (out >= 0)
            {
                ::dup2(out, 1);
                ::dup2(out, 2);
            }
            ::execvp(argv[0], argv.data());
            ::_exit(127);
        }
        if (out >= 0)
            ::close(out);
    }
    ~BoardPeer()
    {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGTERM);
        for (int i = 0; i < 100 && ::waitpid(pid_, nullptr, WNOHANG) == 0; ++i)
            ::usleep(20000);
        if (::kill(pid_, 0) == 0)
        {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    BoardPeer(const BoardPeer&) = delete;
    BoardPeer& operator=(const BoardPeer&) = delete;

    bool running() const { return pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) == 0; }

private:
    pid_t pid_ = -1;
};
}
