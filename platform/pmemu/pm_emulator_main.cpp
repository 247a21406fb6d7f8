// pm-emulator: the power-metering/relay module of the simulated board.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/signalfd.h>
#include <unistd.h>
#include <vector>

#include "PmControlCommands.h"
#include "PmControlServer.h"
#include "PowerModuleEmulator.h"

namespace
{
int usage()
{
    std::fprintf(stderr,
                 "usage: pm-emulator [--link PATH] [--control SOCKET] [--voltage V] [--relays BITS]\n"
                 "                   [--current PORT=A] [--pf PORT=F] [--power PORT=W] [--energy PORT=KWH]\n"
                 "                   [--energy-rate F]\n"
                 "PATH defaults to $RAILBOX_ROOT/dev/ttyS10; PORT is 0-7 or inlet.\n"
                 "SOCKET takes control lines (see 'status'); a status line is printed when relays change.\n");
    return 2;
}

// "--current 3=1.25" is the control line "current 3 1.25".
std::string optionLine(const std::string& option, std::string value)
{
    const size_t eq = value.find('=');
    if (eq != std::string::npos)
        value[eq] = ' ';
    return option.substr(2) + " " + value;
}
}

int main(int argc, char** argv)
{
    const char* root = std::getenv("RAILBOX_ROOT");
    std::string link = root ? std::string(root) + "/dev/ttyS10" : "";
    std::string control;
    unsigned long relays = 0;
    std::vector<std::string> settings;
    for (int i = 1; i < argc; ++i)
    {
        const std::string option = argv[i];
        if (i + 1 >= argc)
            return usage();
        const std::string value = argv[++i];
        if (option == "--link")
            link = value;
        else if (option == "--control")
            control = value;
        else if (option == "--relays")
            relays = std::strtoul(value.c_str(), nullptr, 0);
        else if (option == "--voltage" || option == "--current" || option == "--pf" || option == "--power"
                 || option == "--energy" || option == "--energy-rate")
            settings.push_back(optionLine(option, value));
        else
            return usage();
    }
    if (link.empty())
        return usage();

    pmemu::PowerModuleEmulator emulator(link);
    emulator.model().setRelayBits(static_cast<uint8_t>(relays));
    for (const std::string& line : settings)
    {
        const std::string answer = pmemu::PmControlCommands::execute(emulator, line);
        if (answer != "ok")
        {
            std::fprintf(stderr, "pm-emulator: %s\n", answer.c_str());
            return 2;
        }
    }
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    const int stopFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);

    std::string error;
    pmemu::PmControlServer server(emulator);
    if (!emulator.start(&error) || (!control.empty() && !server.open(control, error)))
    {
        std::fprintf(stderr, "pm-emulator: %s\n", error.c_str());
        return 1;
    }
    emulator.setRelayListener([&emulator](uint8_t) {
        std::printf("%s\n", pmemu::PmControlCommands::status(emulator).c_str());
        std::fflush(stdout);
    });
    std::printf("pm-emulator: %s -> %s\n%s\n", link.c_str(), emulator.slavePath().c_str(),
                pmemu::PmControlCommands::status(emulator).c_str());
    std::fflush(stdout);
    if (control.empty())
    {
        signalfd_siginfo info;
        (void)!::read(stopFd, &info, sizeof info);
    }
    else
        server.serve(stopFd);
    emulator.stop();
    return 0;
}
