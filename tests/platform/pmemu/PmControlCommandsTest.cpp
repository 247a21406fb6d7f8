#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <thread>

#include "PmControlCommands.h"
#include "PmControlServer.h"
#include "PowerModuleEmulator.h"

using pmemu::PmControlCommands;
using pmemu::PowerModuleEmulator;
using Bytes = std::vector<uint8_t>;
using std::chrono::milliseconds;

namespace
{
std::string boardPath(const std::string& name)
{
    return std::string(std::getenv("RAILBOX_ROOT")) + name;
}

// Whatever arrives on fd for a while.
Bytes readFor(int fd, milliseconds time)
{
    Bytes got;
    const auto end = std::chrono::steady_clock::now() + time;
    for (auto now = std::chrono::steady_clock::now(); now < end; now = std::chrono::steady_clock::now())
    {
        pollfd p{fd, POLLIN, 0};
        uint8_t buf[64];
        ssize_t n = 0;
        if (::poll(&p, 1, static_cast<int>(std::chrono::ceil<milliseconds>(end - now).count())) > 0
            && (n = ::read(fd, buf, sizeof buf)) > 0)
            got.insert(got.end(), buf, buf + n);
    }
    return got;
}
}

TEST(PmControlCommandsTest, SetsReadingsRelaysAndControls)
{
    PowerModuleEmulator emu(boardPath("/dev/ttyS10"));
    emu.model().setEnergyRate(0);
    EXPECT_EQ(PmControlCommands::execute(emu, "voltage 253.0"), "ok");
    EXPECT_EQ(PmControlCommands::execute(emu, "current 3 1.5"), "ok");
    EXPECT_EQ(PmControlCommands::execute(emu, "pf 3 0.5"), "ok");
    EXPECT_EQ(PmControlCommands::execute(emu, "relay 3 on"), "ok");
    EXPECT_EQ(PmControlCommands::execute(emu, "energy inlet 12.34"), "ok");
    EXPECT_EQ(emu.relayBits(), 0x08);
    pmemu::PmReading r = *emu.model().reading(3);
    EXPECT_DOUBLE_EQ(r.volts, 253.0);
    EXPECT_DOUBLE_EQ(r.amps, 1.5);
    EXPECT_DOUBLE_EQ(r.watts, 253.0 * 1.5 * 0.5);
    EXPECT_EQ(PmControlCommands::execute(emu, "power 3 1.0"), "ok");
    EXPECT_DOUBLE_EQ(emu.model().reading(3)->watts, 1.0);
    EXPECT_EQ(PmControlCommands::execute(emu, "power 3 auto"), "ok");
    EXPECT_DOUBLE_EQ(emu.model().reading(3)->watts, 253.0 * 1.5 * 0.5);
    EXPECT_EQ(PmControlCommands::status(emu),
              "relays=00010000 voltage=253.00 inlet=1.50A,189.75W,12.34kWh requests=0 pace=0/0 held=0");
    EXPECT_EQ(PmControlCommands::execute(emu, "status"), PmControlCommands::status(emu));
    EXPECT_EQ(PmControlCommands::execute(emu, "stuck 3 off"), "ok");
    EXPECT_EQ(emu.model().switchRelay(3, 1), 0);
    EXPECT_EQ(PmControlCommands::execute(emu, "stuck 6 on"), "ok");
    EXPECT_EQ(emu.relayBits(), 0x40);
    EXPECT_EQ(PmControlCommands::execute(emu, "stuck 3 free"), "ok");
    EXPECT_EQ(emu.model().stuck(3), pmemu::PmMeterModel::Stuck::kFree);
    EXPECT_EQ(PmControlCommands::execute(emu, "relay 6 off"), "ok");
    EXPECT_EQ(PmControlCommands::execute(emu, "relay 3 on"), "ok");
    EXPECT_EQ(emu.relayBits(), 0x08);
    for (const char* line : {"silent on", "silent off", "delay 250", "corrupt 3", "split 4 20", "energy-rate 60"})
        EXPECT_EQ(PmControlCommands::execute(emu, line), "ok") << line;
    const auto paceAndHold = [&] {
        const std::string status = PmControlCommands::status(emu);
        return status.substr(status.find(" pace="));
    };
    EXPECT_EQ(PmControlCommands::execute(emu, "pace 1920"), "ok");
    EXPECT_EQ(PmControlCommands::execute(emu, "hold on"), "ok");
    EXPECT_EQ(paceAndHold(), " pace=1920/1920 held=1");
    EXPECT_EQ(PmControlCommands::execute(emu, "pace 1920 1728"), "ok");
    EXPECT_EQ(paceAndHold(), " pace=1920/1728 held=1");
    EXPECT_EQ(PmControlCommands::execute(emu, "pace 0"), "ok");
    EXPECT_EQ(PmControlCommands::execute(emu, "hold off"), "ok");
    EXPECT_EQ(paceAndHold(), " pace=0/0 held=0");

    // The board's wander moves the set values without replacing them.
    EXPECT_EQ(PmControlCommands::execute(emu, "drift voltage 1.002"), "ok");
    EXPECT_EQ(PmControlCommands::execute(emu, "drift 3 0.96"), "ok");
    r = *emu.model().reading(3);
    EXPECT_DOUBLE_EQ(r.volts, 253.0 * 1.002);
    EXPECT_DOUBLE_EQ(r.amps, 1.5 * 0.96);
    EXPECT_DOUBLE_EQ(r.watts, 253.0 * 1.002 * 1.5 * 0.96 * 0.5);
    EXPECT_DOUBLE_EQ(emu.model().voltage(), 253.0);
    EXPECT_EQ(PmControlCommands::execute(emu, "voltage auto"), "ok");
    EXPECT_DOUBLE_EQ(emu.model().reading(3)->volts, 230.0 * 1.002);
}

TEST(PmControlCommandsTest, CurrentAutoReturnsToTheBoardsOwnLoad)
{
    PowerModuleEmulator emu(boardPath("/dev/ttyS10"));
    pmemu::PmMeterModel& model = emu.model();
    model.setRelayBits(0x09);  // outlets 0 and 3
    EXPECT_EQ(PmControlCommands::execute(emu, "current 3 12"), "ok");
    EXPECT_EQ(PmControlCommands::execute(emu, "current inlet 20"), "ok");
    EXPECT_EQ(PmControlCommands::execute(emu, "drift 3 1.02"), "ok");
    EXPECT_DOUBLE_EQ(model.reading(3)->amps, 12 * 1.02);
    EXPECT_DOUBLE_EQ(model.reading(255)->amps, 20);

    EXPECT_EQ(PmControlCommands::execute(emu, "current 3 auto"), "ok");
    EXPECT_EQ(PmControlCommands::execute(emu, "current 0 auto"), "ok");
    EXPECT_DOUBLE_EQ(model.reading(3)->amps, pmemu::PmMeterModel::kBoardAmps[3] * 1.02);  // the wander stays
    EXPECT_DOUBLE_EQ(model.reading(0)->amps, pmemu::PmMeterModel::kBoardAmps[0]);
    EXPECT_DOUBLE_EQ(model.reading(255)->amps, 20);
    EXPECT_EQ(PmControlCommands::execute(emu, "current inlet auto"), "ok");
    EXPECT_DOUBLE_EQ(model.reading(255)->amps,
                     pmemu::PmMeterModel::kBoardAmps[0] + pmemu::PmMeterModel::kBoardAmps[3] * 1.02);
    EXPECT_EQ(PmControlCommands::execute(emu, "current 3 automatic").rfind("error: ", 0), 0u);
}

TEST(PmControlCommandsTest, TripsOutletsAndChattersOnTheLine)
{
    PowerModuleEmulator emu(boardPath("/dev/ttyS10"));
    pmemu::PmMeterModel& model = emu.model();
    EXPECT_EQ(PmControlCommands::execute(emu, "trip 3 250"), "ok");
    model.switchRelay(3, 1);
    ASSERT_TRUE(model.nextTrip());
    const auto left = *model.nextTrip() - std::chrono::steady_clock::now();
    EXPECT_GT(left, milliseconds(150));
    EXPECT_LE(left, milliseconds(250));
    EXPECT_EQ(PmControlCommands::execute(emu, "trip 3 off"), "ok");
    EXPECT_FALSE(model.nextTrip());
    EXPECT_EQ(PmControlCommands::execute(emu, "trip 3 40"), "ok");
    EXPECT_EQ(PmControlCommands::execute(emu, "trip 3 0"), "ok");
    model.switchRelay(3, 1);
    EXPECT_FALSE(model.nextTrip());

    ASSERT_TRUE(emu.start());
    const int fd = ::open(boardPath("/dev/ttyS10").c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(PmControlCommands::execute(emu, "chatter 5 off 20"), "ok");
    const Bytes got = readFor(fd, milliseconds(150));
    ASSERT_GE(got.size(), 6u);
    EXPECT_EQ(Bytes(got.begin(), got.begin() + 6), (Bytes{0xA5, 0x02, 0x05, 0x00, 0x00, 0x07}));
    EXPECT_EQ(PmControlCommands::execute(emu, "chatter off"), "ok");
    readFor(fd, milliseconds(50));
    EXPECT_TRUE(readFor(fd, milliseconds(200)).empty());
    ::close(fd);
}

TEST(PmControlCommandsTest, RefusesBadLines)
{
    PowerModuleEmulator emu(boardPath("/dev/ttyS10"));
    for (const char* line : {"", "volts 230", "voltage", "voltage -1", "voltage nan", "current 8 1", "current x 1",
                             "relay inlet on", "relay 2 maybe", "silent yes", "power 1 -3", "power 1 lots",
                             "split 4", "delay -5", "energy 2 -1", "voltage automatic", "drift voltage",
                             "drift voltage 1.2", "drift 3 0.8", "drift inlet 1", "drift 8 1", "drift current 1",
                             "stuck inlet on", "stuck 8 on", "stuck 2", "stuck 2 welded", "pace", "pace -1",
                             "pace 1000001", "pace 19.5", "pace fast", "pace 1920 -1", "pace 1920 x", "hold",
                             "hold maybe", "trip", "trip 3", "trip inlet 100", "trip 8 100", "trip 3 -1",
                             "trip 3 1.5", "trip 3 soon", "trip 3 1e7", "trip 3 100 more", "chatter", "chatter on",
                             "chatter 3", "chatter 3 on", "chatter 3 maybe 100", "chatter inlet on 100",
                             "chatter 8 on 100", "chatter 3 on -5", "chatter 3 on off", "chatter off 100"})
        EXPECT_EQ(PmControlCommands::execute(emu, line).rfind("error: ", 0), 0u) << "'" << line << "'";
    EXPECT_EQ(emu.relayBits(), 0);
    const std::string status = PmControlCommands::status(emu);
    EXPECT_EQ(status.substr(status.find(" pace=")), " pace=0/0 held=0");
    EXPECT_DOUBLE_EQ(emu.model().voltage(), 230.0);
    emu.model().switchRelay(3, 1);
    EXPECT_FALSE(emu.model().nextTrip()) << "no trip armed by a refused line";
}

TEST(PmControlServerTest, AnswersEachLineOnTheSocket)
{
    PowerModuleEmulator emu(boardPath("/dev/ttyS10"));
    pmemu::PmControlServer server(emu);
    const std::string path = boardPath("/pm-control");
    std::string error;
    ASSERT_TRUE(server.open(path, error)) << error;
    int stop[2];
    ASSERT_EQ(::pipe(stop), 0);
    std::thread serving([&] { server.serve(stop[0]); });

    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    const std::string lines = "relay 1 on\r\nbogus\nstat";
    ASSERT_EQ(::write(fd, lines.data(), lines.size()), ssize_t(lines.size()));
    ASSERT_EQ(::write(fd, "us\n", 3), 3);
    std::string answers;
    char buf[256];
    while (std::count(answers.begin(), answers.end(), '\n') < 3)
    {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        ASSERT_GT(n, 0);
        answers.append(buf, static_cast<size_t>(n));
    }
    EXPECT_EQ(answers, "ok\nerror: bad command: bogus\n" + PmControlCommands::status(emu) + "\n");
    ::close(fd);
    ASSERT_EQ(::write(stop[1], "x", 1), 1);
    serving.join();
    ::close(stop[0]);
    ::close(stop[1]);
}
