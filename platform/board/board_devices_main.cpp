// board-devices: keeps the simulated board's device stand-ins alive for the
// daemon: ROOT/dev/ttyS3 (the cascade line) as a pseudo-terminal, and a
// writer on the FIFOs ROOT/dev/key and ROOT/dev/temp_hum so their reader
// never sees a hang-up. What the daemon sends on the cascade line is read
// and dropped: no other unit is on the chain. Runs until SIGINT or SIGTERM.
//   board-devices ROOT [--sensor] [--control SOCKET] [--status] [--label NAME] [--no-cascade]
// --sensor      feeds sensor records into ROOT/dev/temp_hum every few seconds
// --control     keeps the emulator's readings (at its control SOCKET) varying
// --status      prints a status line of the board whenever it changes
// --label       begins each status line with "NAME: " (one line per unit)
// --no-cascade  leaves ROOT/dev/ttyS3 alone: chainline joins it to the
//               other units' lines
#include <fcntl.h>
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

#include "MeterDrift.h"
#include "PmControlClient.h"
#include "PmPty.h"
#include "SensorFeeder.h"
#include "StatusLine.h"

namespace
{
int usage()
{
    std::fprintf(stderr, "usage: board-devices ROOT [--sensor] [--control SOCKET] [--status] [--label NAME]"
                         " [--no-cascade]\n");
    return 2;
}
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage();
    const std::string root = argv[1];
    bool sensor = false, status = false, ownCascade = true;
    std::string control, label;
    for (int i = 2; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--sensor") == 0)
            sensor = true;
        else if (std::strcmp(argv[i], "--status") == 0)
            status = true;
        else if (std::strcmp(argv[i], "--no-cascade") == 0)
            ownCascade = false;
        else if (std::strcmp(argv[i], "--control") == 0 && i + 1 < argc)
            control = argv[++i];
        else if (std::strcmp(argv[i], "--label") == 0 && i + 1 < argc)
            label = argv[++i];
        else
            return usage();
    }
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    const int stopFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);

    pmemu::PmPty cascade;
    std::string error;
    if (ownCascade && !cascade.open(root + "/dev/ttyS3", error))
    {
        std::fprintf(stderr, "board-devices: %s\n", error.c_str());
        return 1;
    }
    int tempHumFd = -1;
    for (const char* fifo : {"/dev/key", "/dev/temp_hum"})
    {
        // Read-write: never blocks, and the FIFO keeps a writer. Non-blocking:
        // a full FIFO (no daemon reading) drops a record instead of stalling.
        const int fd = ::open((root + fifo).c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
        {
            std::perror((root + fifo).c_str());
            return 1;
        }
        tempHumFd = fd;
    }
    if (ownCascade)
        std::printf("board-devices: %s/dev/ttyS3 -> %s\n", root.c_str(), cascade.slavePath().c_str());
    std::printf("board-devices: %s/dev/key and temp_hum held open\n", root.c_str());
    std::fflush(stdout);

    std::unique_ptr<SensorFeeder> feeder(sensor ? new SensorFeeder(tempHumFd) : nullptr);
    PmControlClient client(control);
    std::unique_ptr<MeterDrift> drift(control.empty() ? nullptr : new MeterDrift(client));
    std::unique_ptr<StatusLine> line(status && !control.empty() ? new StatusLine(root, client, feeder.get(), label)
                                                                : nullptr);

    // Without the cascade pty its fd is -1, which poll(2) passes over.
    pollfd fds[2] = {{stopFd, POLLIN, 0}, {cascade.masterFd(), POLLIN, 0}};
    char scratch[4096];
    time_t lastTick = 0;
    while (::poll(fds, 2, 250) >= 0 || errno == EINTR)
    {
        if (fds[0].revents)
            break;
        if (fds[1].revents & POLLIN)
            (void)!::read(cascade.masterFd(), scratch, sizeof scratch);
        else if (fds[1].revents)
            ::usleep(100000);  // no reader on the slave side just now
        const time_t now = std::time(nullptr);
        if (now == lastTick)
            continue;
        lastTick = now;
        if (feeder)
            feeder->tick(now);
        if (drift)
            drift->tick(now);
        if (line)
            line->tick();
    }
    cascade.close();
    return 0;
}
