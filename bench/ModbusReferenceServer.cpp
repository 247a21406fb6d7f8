// A Modbus/TCP server on libmodbus serving the daemon's input-register count:
// one thread, select() over the listening socket and every client, as the
// library's own multi-client example does. It prints "port N" once listening
// (port 0 picks a free one) and runs until SIGTERM or SIGINT.
#include <arpa/inet.h>
#include <modbus.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "BenchOptions.h"

namespace
{
volatile std::sig_atomic_t g_stop = 0;

void onSignal(int) { g_stop = 1; }

int boundPort(int fd)
{
    sockaddr_in addr;
    socklen_t len = sizeof addr;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        return -1;
    return ntohs(addr.sin_port);
}

// Serves until asked to stop; false on a listening failure.
bool serve(modbus_t* ctx, modbus_mapping_t* map, int listenFd)
{
    fd_set all;
    FD_ZERO(&all);
    FD_SET(listenFd, &all);
    int maxFd = listenFd;
    uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
    while (!g_stop)
    {
        fd_set ready = all;
        if (::select(maxFd + 1, &ready, nullptr, nullptr, nullptr) < 0)
        {
            if (errno == EINTR)
                continue;
            std::perror("select");
            return false;
        }
        for (int fd = 0; fd <= maxFd; ++fd)
        {
            if (!FD_ISSET(fd, &ready))
                continue;
            if (fd == listenFd)
            {
                int client = ::accept(listenFd, nullptr, nullptr);
                if (client < 0 || client >= FD_SETSIZE)
                {
                    if (client >= 0)
                        ::close(client);
                    continue;
                }
                FD_SET(client, &all);
                if (client > maxFd)
                    maxFd = client;
                continue;
            }
            modbus_set_socket(ctx, fd);
            int rc = modbus_receive(ctx, query);
            if (rc > 0)
                modbus_reply(ctx, query, rc, map);
            else if (rc < 0)
            {
                ::close(fd);
                FD_CLR(fd, &all);
            }
        }
    }
    return true;
}
}

int main(int argc, char* argv[])
{
    BenchOptions options(argc, argv);
    std::string host = options.text("host", "127.0.0.1");
    long port = options.number("port", 1502);
    // Eight outlets: 6 x 8 + 9 input registers, as the daemon serves.
    long registers = options.number("registers", 57);
    if (!options.ok() || port < 0 || port > 65535 || registers < 1 || registers > 65535)
    {
        std::fprintf(stderr, "%s\nusage: bench_modbus_reference [--host ip] [--port n] [--registers n]\n",
                     options.ok() ? "bad value" : options.error().c_str());
        return 2;
    }
    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sa.sa_handler = onSignal;
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN);

    modbus_t* ctx = modbus_new_tcp(host.c_str(), static_cast<int>(port));
    modbus_mapping_t* map = modbus_mapping_new(0, 0, 0, static_cast<int>(registers));
    int listenFd = ctx && map ? modbus_tcp_listen(ctx, 64) : -1;
    if (listenFd < 0)
    {
        std::fprintf(stderr, "cannot listen on %s:%ld: %s\n", host.c_str(), port, modbus_strerror(errno));
        return 1;
    }
    for (int i = 0; i < map->nb_input_registers; ++i)
        map->tab_input_registers[i] = static_cast<uint16_t>(i);
    std::printf("port %d\n", boundPort(listenFd));
    std::fflush(stdout);

    bool ok = serve(ctx, map, listenFd);
    ::close(listenFd);
    modbus_mapping_free(map);
    modbus_close(ctx);
    modbus_free(ctx);
    return ok ? 0 : 1;
}
