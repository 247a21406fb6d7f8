// An inlet over-voltage at the module: event-log row, the mail program's
// arguments and the beeper pattern; all clear when the voltage returns.
#include <gtest/gtest.h>

#include "e2e/E2eBoard.h"
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
}
