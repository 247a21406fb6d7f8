// board-devices: keeps the simulated board's device stand-ins alive for the
// daemon: ROOT/dev/ttyS3 (the cascade line) as a pseudo-terminal, and a
// writer on the FIFOs ROOT/dev/key and ROOT/dev/temp_hum so their reader
// never sees a hang-up. What the daemon sends on the cascade line is read
// and dropped: no other unit is on the chain. Runs until SIGINT or SIGTERM.
#include <fcntl.h>
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <string>

#include "PmPty.h"

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: board-devices ROOT\n");
        return 2;
    }
    const std::string root = argv[1];
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    const int stopFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);

    pmemu::PmPty cascade;
    std::string error;
    if (!cascade.open(root + "/dev/ttyS3", error))
    {
        std::fprintf(stderr, "board-devices: %s\n", error.c_str());
        return 1;
    }
    for (const char* fifo : {"/dev/key", "/dev/temp_hum"})
    {
        // Read-write: never blocks, and the FIFO keeps a writer.
        if (::open((root + fifo).c_str(), O_RDWR | O_CLOEXEC) < 0)
        {
            std::perror((root + fifo).c_str());
            return 1;
        }
    }
    std::printf("board-devices: %s/dev/ttyS3 -> %s, key and temp_hum held open\n", root.c_str(),
                cascade.slavePath().c_str());
    std::fflush(stdout);

    pollfd fds[2] = {{stopFd, POLLIN, 0}, {cascade.masterFd(), POLLIN, 0}};
    char scratch[4096];
    while (::poll(fds, 2, -1) >= 0 || errno == EINTR)
    {
        if (fds[0].revents)
            break;
        if (fds[1].revents & POLLIN)
            (void)!::read(cascade.masterFd(), scratch, sizeof scratch);
        else if (fds[1].revents)
            ::usleep(100000);  // no reader on the slave side just now
    }
    cascade.close();
    return 0;
}
