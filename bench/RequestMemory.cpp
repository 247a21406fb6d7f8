// The daemon's memory over a long run of ordinary requests: resident size at
// rest, after web page polls and after whole event-log downloads, from
// /proc/<pid>/status. Runs where the daemon's ports are (its namespace).
//   bench_request_memory --pid n [--web-port 8888] [--mgrctrl-port 8890]
//                        [--web-requests 100000] [--log-queries 1000]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "BenchOptions.h"
#include "ProcSample.h"

namespace
{
// What a web page asks every few seconds: the status with every reading, the
// device list, the names and the limits.
const char* const kWebRequests[] = {
    R"({"request":3,"content":{"query":[{"addr":0,"on_off":true,"temp_hum":true,"input":true,"output":255}]}})",
    R"({"request":1})",
    R"({"request":31,"content":{"addr":0,"device":true,"ports":[0,1,2,3,4,5,6,7]}})",
    R"({"request":22,"content":{"addr":0}})",
};

int connectTo(int type, int port)
{
    const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    timeval wait = {3, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0)
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

bool answered(int fd, const std::string& request)
{
    char answer[8192];
    return ::send(fd, request.data(), request.size(), 0) > 0 && ::recv(fd, answer, sizeof answer, 0) > 0;
}

// A manage-control frame without checksum: 0xA4, flag 0, sum 0, length, data.
std::string frame(const std::string& data)
{
    std::string out("\xA4\x00\x00", 3);
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((data.size() >> shift) & 0xFF);
    return out + data;
}

// The rows of one event-log reply, or -1.
long logRows(int fd, const std::string& request)
{
    if (::send(fd, request.data(), request.size(), 0) != static_cast<ssize_t>(request.size()))
        return -1;
    std::string bytes;
    size_t want = 7;
    char chunk[65536];
    for (ssize_t n; bytes.size() < want && (n = ::recv(fd, chunk, sizeof chunk, 0)) > 0;)
    {
        bytes.append(chunk, static_cast<size_t>(n));
        if (bytes.size() >= 7)
        {
            want = 7;
            for (int i = 3; i < 7; ++i)
                want += static_cast<size_t>(static_cast<unsigned char>(bytes[i])) << (8 * (6 - i));
        }
    }
    if (bytes.size() < want || want < 11)
        return -1;
    return static_cast<unsigned char>(bytes[9]) << 8 | static_cast<unsigned char>(bytes[10]);
}

long rssKb(pid_t pid)
{
    ProcSample sample;
    return sample.take(pid) ? sample.rssKb() : -1;
}
}

int main(int argc, char* argv[])
{
    BenchOptions options(argc, argv);
    const long pid = options.number("pid", 0);
    const long webRequests = options.number("web-requests", 100000);
    const long logQueries = options.number("log-queries", 1000);
    const int web = connectTo(SOCK_DGRAM, static_cast<int>(options.number("web-port", 8888)));
    const int mgrCtrl = connectTo(SOCK_STREAM, static_cast<int>(options.number("mgrctrl-port", 8890)));
    if (!options.ok() || pid <= 0 || web < 0 || mgrCtrl < 0)
    {
        std::fprintf(stderr, "%s\nusage: bench_request_memory --pid n [--web-port p] [--mgrctrl-port p] "
                             "[--web-requests n] [--log-queries n]\n",
                     options.ok() ? "--pid is needed and both ports must answer" : options.error().c_str());
        return 2;
    }
    const long idle = rssKb(static_cast<pid_t>(pid));
    long webAnswered = 0;
    for (long i = 0; i < webRequests; ++i)
        webAnswered += answered(web, kWebRequests[i % 4]);
    const long afterWeb = rssKb(static_cast<pid_t>(pid));
    // Every type, 2000-01-01 up to 2037-12-31: the whole table.
    const std::string query = frame(std::string("\x41\x00\x00\x00\x01\x01\x25\x0C\x1F", 9));
    long rows = -1, logAnswered = 0;
    for (long i = 0; i < logQueries; ++i)
    {
        const long n = logRows(mgrCtrl, query);
        logAnswered += n >= 0;
        rows = n >= 0 ? n : rows;
    }
    const long afterLogs = rssKb(static_cast<pid_t>(pid));
    ::close(web);
    ::close(mgrCtrl);
    std::printf("pid=%ld rss_idle_kb=%ld web_requests=%ld web_answered=%ld rss_after_web_kb=%ld log_queries=%ld "
                "log_answered=%ld log_rows=%ld rss_after_logs_kb=%ld\n",
                pid, idle, webRequests, webAnswered, afterWeb, logQueries, logAnswered, rows, afterLogs);
    return webAnswered == webRequests && logAnswered == logQueries ? 0 : 1;
}
