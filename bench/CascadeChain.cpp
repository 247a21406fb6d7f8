// The cascade chain on the paced line (bench/run starts it): waits until the
// master lists every slave, watches the polls, then times relayed requests
// sent while the line rests, each against the wire time of its two frames.
//   bench_cascade_chain --log CHAINLINE_LOG --slaves N [--seconds S]
//                       [--requests K] [--port 8888] [--pause 0.5]
// With --requests 0 it only reads the log it is given (no daemon needed).
// Prints one line of key=value figures; exits 1 when the chain never formed.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "BenchOptions.h"
#include "CascadeLineLog.h"

namespace
{
using Clock = std::chrono::steady_clock;

// One web request to the master; the answer, or "" after a time-out.
std::string ask(int port, const std::string& request, double* seconds = nullptr)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    timeval wait = {4, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const auto sent = Clock::now();
    char answer[8192];
    ssize_t n = -1;
    if (::sendto(fd, request.data(), request.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) > 0)
        n = ::recv(fd, answer, sizeof answer, 0);
    if (seconds)
        *seconds = std::chrono::duration<double>(Clock::now() - sent).count();
    ::close(fd);
    return n > 0 ? std::string(answer, static_cast<size_t>(n)) : std::string();
}

bool allListed(int port, int slaves)
{
    const std::string list = ask(port, "{\"request\":1}");
    for (int a = 1; a <= slaves; ++a)
        if (list.find("{\"addr\":" + std::to_string(a) + ",") == std::string::npos)
            return false;
    return true;
}

void sleepFor(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }
}

int main(int argc, char* argv[])
{
    BenchOptions options(argc, argv);
    const std::string logFile = options.text("log", "");
    const int slaves = static_cast<int>(options.number("slaves", 1));
    const int requests = static_cast<int>(options.number("requests", 20));
    const int port = static_cast<int>(options.number("port", 8888));
    const double pause = options.seconds("pause", 0.5);
    if (!options.ok() || logFile.empty())
    {
        std::fprintf(stderr, "usage: bench_cascade_chain --log FILE --slaves N [--seconds S] [--requests K]\n");
        return 2;
    }
    CascadeLineLog log;
    std::vector<double> latency, wire, over;
    if (requests > 0)
    {
        const auto deadline = Clock::now() + std::chrono::seconds(60);
        while (!allListed(port, slaves))
        {
            if (Clock::now() > deadline)
            {
                std::printf("slaves=%d formed=0\n", slaves);
                return 1;
            }
            sleepFor(0.2);
        }
        sleepFor(options.seconds("seconds", 5));
        for (int k = 0; k < requests; ++k)
        {
            // Right after a poll's answer has crossed the line: it rests.
            log.read(logFile);
            const size_t seen = log.frames().size();
            while (log.read(logFile), log.frames().size() == seen || log.frames().back().end == 0)
                sleepFor(0.002);
            sleepFor(log.wireSeconds(log.frames().back().bytes) + 0.02);
            const int address = k % slaves + 1;
            double seconds = 0;
            const std::string answer =
                ask(port, "{\"request\":24,\"content\":{\"addr\":" + std::to_string(address) + "}}", &seconds);
            if (answer.find("\"response\":24") == std::string::npos)
                continue;
            sleepFor(0.05);
            log.read(logFile);
            for (size_t i = log.frames().size(); i-- > seen;)
            {
                const long a = log.frames()[i].code == 14 && log.frames()[i].end == 0 ? log.answerTo(i) : -1;
                if (a < 0)
                    continue;
                const double w = log.wireSeconds(log.frames()[i].bytes + log.frames()[size_t(a)].bytes);
                latency.push_back(seconds * 1000);
                wire.push_back(w * 1000);
                over.push_back((seconds - w) * 1000);
                break;
            }
        }
    }
    log.read(logFile);
    const CascadeLineLog::PollFigures polls = log.polls(pause);
    double overMax = 0;
    for (double o : over)
        overMax = std::max(overMax, o);
    std::printf("slaves=%d formed=1 polls=%zu poll_exchange_ms=%.1f poll_wire_ms=%.1f poll_ratio=%.2f "
                "poll_period_ms=%.0f relays=%zu relay_ms=%.1f relay_wire_ms=%.1f relay_over_ms=%.1f "
                "relay_over_max_ms=%.1f\n",
                slaves, polls.polls, polls.exchangeMs, polls.wireMs, polls.ratio, polls.periodMs, latency.size(),
                CascadeLineLog::median(latency), CascadeLineLog::median(wire), CascadeLineLog::median(over), overMax);
    return 0;
}
