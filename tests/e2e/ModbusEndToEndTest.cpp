// mbpoll, a real Modbus/TCP master, reads the meter registers and switches
// an outlet through a coil.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "e2e/E2eBoard.h"
#include "platform/pmemu/PmMeterModel.h"
#include "platform/pmemu/PowerModuleEmulator.h"

namespace
{
// The values mbpoll printed, one per "[reference]: value" line.
std::vector<long> registers(const std::string& output)
{
    std::vector<long> values;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line))
        if (line.size() > 2 && line[0] == '[' && line.find("]:") != std::string::npos)
            values.push_back(std::stol(line.substr(line.find("]:") + 2)));
    return values;
}

class ModbusEndToEnd : public ::testing::Test
{
protected:
    std::vector<long> read(int table, int reference, int count)
    {
        return registers(board.sh("mbpoll -m tcp -a 1 -1 -t " + std::to_string(table) + " -r "
                                  + std::to_string(reference) + " -c " + std::to_string(count) + " 127.0.0.1"));
    }
    // One input register, or -1 when none was read.
    long one(int reference)
    {
        const std::vector<long> values = read(3, reference, 1);
        return values.empty() ? -1L : values[0];
    }

    e2e::E2eBoard board;
};

TEST_F(ModbusEndToEnd, MbpollReadsTheMetersAndSwitchesAnOutlet)
{
    pmemu::PmMeterModel& model = board.emulator().model();
    model.setVoltage(231.5);
    model.setCurrent(1, 1.25);
    model.setPowerFactor(1, 0.9);
    model.setRelayBits(0x02);
    board.sql("outlet.db", "update status set on_off = (port = 1)");
    ASSERT_TRUE(board.start());
    ASSERT_TRUE(board.waitListening({"tcp 0.0.0.0:502"}, 10)) << board.output();

    // Inlet: 0.1 V, 0.01 A, 0.1 W, 0.01; the outlet count at 6 (references from 1).
    const pmemu::PmReading inlet = *model.reading(pmemu::PmMeterModel::kInlet);
    const std::vector<long> expected{std::lround(inlet.volts * 10), std::lround(inlet.amps * 100),
                                     std::lround(inlet.watts * 10)};
    std::vector<long> got;
    ASSERT_TRUE(e2e::waitUntil(
        [&] {
            got = read(3, 1, 7);
            return got.size() == 7 && got[0] == expected[0] && got[1] == expected[1] && std::abs(got[2] - expected[2]) <= 1;
        },
        10, 200))
        << "got " << ::testing::PrintToString(got) << " want " << ::testing::PrintToString(expected);
    EXPECT_EQ(90, got[3]);
    EXPECT_EQ(8, got[6]);

    // Outlet 1 at the fixed outlet blocks: voltage 7+n, current 207+n, power
    // 407+n, pf 607+n (the meter poll reaches the outlets after the inlet).
    const pmemu::PmReading outlet = *model.reading(1);
    std::vector<long> outletValues;
    EXPECT_TRUE(e2e::waitUntil(
        [&] {
            outletValues = {one(9), one(209), one(409), one(609)};
            return outletValues[1] == 125;
        },
        5, 100));
    EXPECT_EQ(std::lround(outlet.volts * 10), outletValues[0]);
    EXPECT_EQ(125, outletValues[1]);
    EXPECT_NEAR(outlet.watts * 10, outletValues[2], 1.0);
    EXPECT_EQ(90, outletValues[3]);
    // Discrete inputs: the outlet states.
    EXPECT_TRUE(e2e::waitUntil([&] { return read(1, 1, 4) == std::vector<long>({0, 1, 0, 0}); }, 3))
        << ::testing::PrintToString(read(1, 1, 4));

    // Coil 3 (reference 4) on: the module's relay 3 switches and outlet.db keeps it.
    int status = -1;
    const std::string written = board.sh("mbpoll -m tcp -a 1 -1 -t 0 -r 4 127.0.0.1 1", &status);
    EXPECT_EQ(0, status) << written;
    EXPECT_TRUE(e2e::waitUntil([&] { return (board.emulator().relayBits() & 0x08) != 0; }, 5)) << board.output();
    EXPECT_TRUE(e2e::waitUntil([&] { return board.sql("outlet.db", "select on_off from status where port=3") == "1"; }, 3));
    EXPECT_TRUE(e2e::waitUntil([&] { return read(1, 1, 4) == std::vector<long>({0, 1, 0, 1}); }, 3));
}

// 7,000 W is 70,000 tenths: one register holds at most 65535 of them.
TEST_F(ModbusEndToEnd, PowerBeyondARegisterIsHeldAtItsLargestValue)
{
    pmemu::PmMeterModel& model = board.emulator().model();
    model.setRelayBits(0x02);
    model.setCurrent(pmemu::PmMeterModel::kInlet, 31.5);
    model.setPower(pmemu::PmMeterModel::kInlet, 7000);
    model.setCurrent(1, 12.5);
    model.setPower(1, 7000);
    board.sql("outlet.db", "update status set on_off = (port = 1)");
    ASSERT_TRUE(board.start());
    ASSERT_TRUE(board.waitListening({"tcp 0.0.0.0:502"}, 10)) << board.output();

    // Inlet current (reference 2) and power (3); outlet 1's current (209) and power (409).
    std::vector<long> inlet, outlet;
    EXPECT_TRUE(e2e::waitUntil(
        [&] {
            inlet = read(3, 2, 2);
            outlet = {one(209), one(409)};
            return inlet == std::vector<long>({3150, 65535}) && outlet == std::vector<long>({1250, 65535});
        },
        10, 200))
        << "inlet " << ::testing::PrintToString(inlet) << " outlet " << ::testing::PrintToString(outlet);
}
}
