// An inlet over-voltage at the module: event-log row, the mail program's
// arguments and the beeper pattern; all clear when the voltage returns. Set
// through the module's control socket as the README shows, on a board whose
// readings drift, the voltage holds long enough to raise the alarm.
#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>
#include <thread>

#include "e2e/BoardPeer.h"
#include "e2e/E2eBoard.h"
#include "platform/pmemu/PmControlServer.h"
#include "platform/pmemu/PmMeterModel.h"
#include "platform/pmemu/PowerModuleEmulator.h"

namespace
{
using Beeps = std::vector<std::vector<int32_t>>;

TEST(AlarmEndToEnd, InletOverVoltageRaisesAndClears)
{
    e2e::E2eBoard board;
    board.sql("pdu.db", "insert into email_settings(status, host, port, username, password, address) "
                        "values(1, 'smtp.example.net', 25, 'pdu', 'pw', 'pdu@example.net');"
                        "insert into email_receivers(status, name, email) values(1, 'Ops', 'ops@example.net');"
                        "insert into email_receivers(status, name, email) values(0, 'Off', 'off@example.net')");
    pmemu::PmMeterModel& model = board.emulator().model();
    model.setVoltage(230);
    ASSERT_TRUE(board.start());
    ASSERT_TRUE(e2e::waitUntil([&] { return board.beeper() == Beeps{{3, 50, 50}}; }, 10)) << board.output();

    model.setVoltage(262.5);  // the factory warning limit is 250 V
    ASSERT_TRUE(e2e::waitUntil([&] { return board.mails().size() == 1; }, 16)) << board.output();
    EXPECT_EQ((std::vector<std::string>{"--server=smtp.example.net", "--port=25", "--user=pdu", "--pass=pw",
                                        "--from=pdu,pdu@example.net", "--to=Ops,ops@example.net",
                                        "--subject=Input voltage warning!",
                                        "--body=The input voltage exceeds upper limit!"}),
              board.mails()[0]);
    EXPECT_EQ("2|{\"type\":2,\"desc\":4}", board.sql("pdu.db", "select type, content from system_logs"));
    EXPECT_EQ("0|ops@example.net|The input voltage exceeds upper limit!",
              board.sql("pdu.db", "select status, receivers, body from email_records"));
    EXPECT_TRUE(e2e::waitUntil([&] { return board.beeper() == Beeps({{3, 50, 50}, {-1, 200, 200}}); }, 3));
    EXPECT_TRUE(e2e::waitUntil([&] { return board.mirror(0).size() > 7 && board.mirror(0)[7] == 2; }, 3));

    model.setVoltage(230);
    EXPECT_TRUE(e2e::waitUntil([&] { return board.beeper() == Beeps({{3, 50, 50}, {-1, 200, 200}, {0, 0, 0}}); }, 5))
        << ::testing::PrintToString(board.beeper());
    EXPECT_TRUE(e2e::waitUntil([&] { return board.mirror(0).size() > 7 && board.mirror(0)[7] == 0; }, 3));
    // A return to normal is neither logged nor mailed.
    EXPECT_EQ("1", board.sql("pdu.db", "select count(*) from system_logs"));
    EXPECT_EQ(1u, board.mails().size());
    EXPECT_TRUE(board.running());
}

// The module's control socket, served on a thread of the test.
struct ControlSocket
{
    ControlSocket(pmemu::PowerModuleEmulator& emulator, const std::string& path) : server(emulator)
    {
        if (::pipe(stop) != 0 || !server.open(path, error))
            error += " (control socket not served)";
        else
            thread = std::thread([this] { server.serve(stop[0]); });
    }
    ~ControlSocket()
    {
        if (thread.joinable())
        {
            (void)!::write(stop[1], "x", 1);
            thread.join();
        }
        for (int fd : stop)
            if (fd >= 0)
                ::close(fd);
    }

    pmemu::PmControlServer server;
    int stop[2] = {-1, -1};
    std::string error;
    std::thread thread;
};

// The daemon on a board whose readings drift, steered through the module's
// control socket with socat as the README shows.
struct DriftingBoard
{
    explicit DriftingBoard(uint8_t relays)
    {
        model.setRelayBits(relays);
        if (!control.error.empty())
            return;
        started = board.start();
        // The board's devices need no network: the test's own namespace.
        drift = std::make_unique<e2e::BoardPeer>(::getpid(),
                                                 std::vector<std::string>{test::buildPath("platform/board/board-devices"),
                                                                          board.root(), "--control", socket,
                                                                          "--no-cascade"},
                                                 board.root() + "/board-devices.log");
    }
    // The control socket served and the daemon started.
    bool ready() const { return control.error.empty() && started; }
    std::string send(const std::string& line)
    {
        return e2e::trimmed(
            e2e::hostCommand("echo " + board.quote(line) + " | socat -t 1 - UNIX-CONNECT:" + board.quote(socket)));
    }

    e2e::E2eBoard board;
    pmemu::PmMeterModel& model = board.emulator().model();
    const std::string socket = board.root() + "/pm-control.sock";
    ControlSocket control{board.emulator(), socket};
    bool started = false;
    std::unique_ptr<e2e::BoardPeer> drift;
};

TEST(AlarmEndToEnd, VoltageSetThroughTheControlSocketHoldsAgainstTheDrift)
{
    DriftingBoard drifting(0x01);
    ASSERT_TRUE(drifting.ready()) << drifting.control.error;
    e2e::E2eBoard& board = drifting.board;
    pmemu::PmMeterModel& model = drifting.model;
    // The drift has set the loads: outlet 1 draws its current.
    ASSERT_TRUE(e2e::waitUntil([&] { return model.reading(0)->amps > 0.3; }, 10)) << board.file("/board-devices.log");
    ASSERT_EQ("ok", drifting.send("voltage 262"));
    // Ten seconds of over-voltage raise the warning; the drift ticks every five.
    ASSERT_TRUE(e2e::waitUntil([&] { return board.sql("pdu.db", "select count(*) from system_logs") == "1"; }, 14))
        << board.output();
    EXPECT_EQ("2|{\"type\":2,\"desc\":4}", board.sql("pdu.db", "select type, content from system_logs"));
    EXPECT_TRUE(e2e::waitUntil([&] { return board.mirror(0).size() > 7 && board.mirror(0)[7] == 2; }, 3));
    EXPECT_NEAR(262.0, model.reading(255)->volts, 0.6);
    EXPECT_TRUE(drifting.drift->running());

    ASSERT_EQ("ok", drifting.send("voltage auto"));
    EXPECT_NEAR(230.0, model.reading(255)->volts, 0.5);
    EXPECT_TRUE(e2e::waitUntil([&] { return board.mirror(0).size() > 7 && board.mirror(0)[7] == 0; }, 5));
    EXPECT_TRUE(board.running());
}

// The module numbers its outlets from 0: "current 3 12" is the fourth
// outlet, "outlet 4" to the unit, over its 10 A warning limit; "current 3
// auto" gives it back the board's own load. The mirror is read with the
// board root relative to where the viewer runs, as the README prints it.
TEST(AlarmEndToEnd, OutletCurrentSetThroughTheControlSocketAndBackToTheBoardsLoad)
{
    DriftingBoard drifting(0x08);
    ASSERT_TRUE(drifting.ready()) << drifting.control.error;
    e2e::E2eBoard& board = drifting.board;
    pmemu::PmMeterModel& model = drifting.model;
    const double own = pmemu::PmMeterModel::kBoardAmps[3];
    ASSERT_TRUE(e2e::waitUntil([&] { return model.reading(3)->amps > own * 0.9; }, 10))
        << board.file("/board-devices.log");
    const auto outletState = [&] {
        const std::vector<int> words = board.mirror(1);
        return words.size() > 26 ? words[26] : -1;
    };
    EXPECT_EQ(0, outletState());

    ASSERT_EQ("ok", drifting.send("current 3 12"));
    ASSERT_TRUE(e2e::waitUntil([&] { return outletState() == 2; }, 16)) << board.output();
    const size_t slash = board.root().find_last_of('/');
    const std::string table = e2e::hostCommand("cd " + board.quote(board.root().substr(0, slash)) + " && "
                                               + test::buildPath("platform/agentlink/agentlink-dump") + " --root "
                                               + board.quote(board.root().substr(slash + 1)) + " 1");
    const size_t at = table.find("\n  outlet 4: ");
    ASSERT_NE(std::string::npos, at) << table;
    EXPECT_NE(std::string::npos, table.substr(at, table.find('\n', at + 1) - at).find("; alarms: current high"))
        << table;
    EXPECT_NEAR(12.0, model.reading(3)->amps, 12.0 * 0.05);

    ASSERT_EQ("ok", drifting.send("current 3 auto"));
    EXPECT_NEAR(own, model.reading(3)->amps, own * 0.05);
    EXPECT_TRUE(e2e::waitUntil([&] { return outletState() == 0; }, 5)) << board.output();
    EXPECT_TRUE(board.running());
}
}
