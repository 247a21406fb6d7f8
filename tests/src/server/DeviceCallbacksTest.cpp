// The device callbacks driven directly on a server built in this process.
#include <gtest/gtest.h>

#include <cmath>

#include "GlobalData.h"
#include "PduServer.h"
#include "PowerModule.h"
#include "PowerModuleContainer.h"
#include "SharedMemory.h"
#include "platform/pmemu/PowerModuleEmulator.h"
#include "ServerProbe.h"
#include "support/ServerBoard.h"
#include "support/TestDatabases.h"

namespace
{
_PowerModuleData reading(double volts, double amps, double watts, uint32_t energy)
{
    auto whole = [](double x) { return static_cast<uint16_t>(std::lround(x * 100) / 100); };
    auto frac = [](double x) { return static_cast<uint16_t>(std::lround(x * 100) % 100); };
    return _PowerModuleData{whole(volts), frac(volts), whole(amps),       frac(amps),
                            whole(watts), frac(watts), energy / 100, static_cast<uint16_t>(energy % 100)};
}

class DeviceCallbacksTest : public ::testing::Test
{
protected:
    void SetUp() override { board_ = std::make_unique<test::ServerBoard>(); }
    void TearDown() override { board_.reset(); }

    PduServer& build() { return board_->build(); }
    PduServer& server() { return board_->server(); }
    static _Device& device() { return GlobalData::getDevice(); }
    static _DeviceOutputStatus& outlet(int port) { return device().status.outputs[port]; }
    static _DeviceInputStatus& inlet() { return device().status.input; }
    static _DeviceEnergy& energy(int slot) { return device().energy[slot]; }
    std::string stored(int port, const char* column)
    {
        return test::queryText(board_->database("energy.db"),
                               std::string("select ") + column + " from variable where port=" + std::to_string(port));
    }
    // The module's report shows it on.
    void switchedOn(int port)
    {
        const auto bits = static_cast<unsigned char>(device().status.onOffMask | 1u << port);
        server().onPowerQueryStatusResponse(0, 8, bits, 0);
    }
    void meter(int port, double volts, double amps, double watts, uint32_t e)
    {
        const _PowerModuleData data = reading(volts, amps, watts, e);
        server().onPowerDataReceived(port, &data);
    }

    std::unique_ptr<test::ServerBoard> board_;
};
}

TEST_F(DeviceCallbacksTest, OutletEnergyJumpIsAcceptedOnTheThirdReadingInARow)
{
    build();
    switchedOn(0);
    meter(0, 230, 1, 230, 25);
    meter(0, 230, 1, 230, 25);
    EXPECT_EQ(0u, energy(0).referenceEnergy);
    EXPECT_EQ(0u, energy(0).realEnergy);
    EXPECT_EQ("0", stored(0, "reference_energy"));
    meter(0, 230, 1, 230, 25);
    EXPECT_EQ(25u, energy(0).referenceEnergy);
    EXPECT_EQ(25u, energy(0).realEnergy);
    EXPECT_DOUBLE_EQ(0.25, outlet(0).energy);
    EXPECT_EQ("25", stored(0, "reference_energy"));
    EXPECT_EQ("25", stored(0, "real_energy"));
    // A jump of 9 at once; an equal reading never.
    meter(0, 230, 1, 230, 34);
    EXPECT_EQ(34u, energy(0).realEnergy);
    meter(0, 230, 1, 230, 34);
    EXPECT_EQ(34u, energy(0).referenceEnergy);
    EXPECT_EQ(0, device().energyRiseCounts[0]);
}

TEST_F(DeviceCallbacksTest, FallingCounterMovesTheReferenceOnlyAndLaterRisesAddAgain)
{
    test::execSql(test::boardDatabase("energy.db"), "update variable set reference_energy=500, real_energy=700 "
                                                    "where port=3");
    build();
    switchedOn(3);
    meter(3, 230, 2, 460, 20);  // module reset
    EXPECT_EQ(20u, energy(3).referenceEnergy);
    EXPECT_EQ(700u, energy(3).realEnergy);
    meter(3, 230, 2, 460, 26);
    EXPECT_EQ(706u, energy(3).realEnergy);
    EXPECT_DOUBLE_EQ(7.06, outlet(3).energy);
}

TEST_F(DeviceCallbacksTest, SwitchedOffOutletKeepsItsLoadAndGainsNoEnergy)
{
    build();
    switchedOn(1);
    meter(1, 230, 2, 400, 5);
    EXPECT_DOUBLE_EQ(2.0, outlet(1).current);
    EXPECT_EQ(5u, energy(1).realEnergy);
    server().onPowerQueryStatusResponse(0, 8, 0, 0);
    meter(1, 231, 3, 600, 8);
    EXPECT_DOUBLE_EQ(231.0, outlet(1).voltage);
    EXPECT_DOUBLE_EQ(2.0, outlet(1).current);
    EXPECT_DOUBLE_EQ(400.0, outlet(1).power);
    // Accepted (a rise below 10) but not taken: the reference moves alone.
    EXPECT_EQ(8u, energy(1).referenceEnergy);
    EXPECT_EQ(5u, energy(1).realEnergy);
}

TEST_F(DeviceCallbacksTest, OutletCurrentAndPowerWindows)
{
    build();
    switchedOn(2);
    meter(2, 230, 1.5, 300, 0);
    EXPECT_DOUBLE_EQ(1.5, outlet(2).current);
    meter(2, 230, 0.5, 1.0, 0);  // power must exceed 1.0 W
    EXPECT_DOUBLE_EQ(1.5, outlet(2).current);
    EXPECT_DOUBLE_EQ(300.0, outlet(2).power);
    meter(2, 230, 20, 4000, 0);  // 20 A and above is not believed
    EXPECT_DOUBLE_EQ(1.5, outlet(2).current);
    meter(2, 230, 0.1, 20, 0);  // no load
    EXPECT_DOUBLE_EQ(0.0, outlet(2).current);
    EXPECT_DOUBLE_EQ(0.0, outlet(2).power);
    EXPECT_DOUBLE_EQ(0.0, outlet(2).factor);
    meter(2, 230, 1, 236.9, 0);  // factor 1.03 capped
    EXPECT_DOUBLE_EQ(1.0, outlet(2).factor);
    EXPECT_EQ(2, outlet(2).port);
}

TEST_F(DeviceCallbacksTest, InletWindowsAndRounding)
{
    build();
    meter(255, 230.26, 5.0, 1000.06, 0);
    EXPECT_DOUBLE_EQ(230.3, inlet().voltage);
    EXPECT_DOUBLE_EQ(5.0, inlet().current);
    EXPECT_DOUBLE_EQ(1000.1, inlet().power);
    EXPECT_DOUBLE_EQ(0.87, inlet().factor);
    meter(255, 230, 160, 30000, 0);  // 20 A x 8 outlets and above kept out
    EXPECT_DOUBLE_EQ(5.0, inlet().current);
    meter(255, 230, 0.5, 1.0, 0);  // the inlet accepts exactly 1.0 W
    EXPECT_DOUBLE_EQ(0.5, inlet().current);
    EXPECT_DOUBLE_EQ(1.0, inlet().power);
    meter(255, 230, 0.05, 11, 0);
    EXPECT_DOUBLE_EQ(0.0, inlet().current);
    EXPECT_DOUBLE_EQ(0.0, inlet().power);
    EXPECT_DOUBLE_EQ(0.0, inlet().factor);
}

TEST_F(DeviceCallbacksTest, InletEnergyIsKeptUnderPort255)
{
    build();
    for (int i = 0; i < 3; ++i)
        meter(255, 230, 5, 1150, 40);
    EXPECT_EQ(40u, energy(_Device::kInletEnergyIndex).realEnergy);
    EXPECT_EQ("40", stored(255, "real_energy"));
    EXPECT_DOUBLE_EQ(0.4, inlet().energy);
}

TEST_F(DeviceCallbacksTest, ReadingsReachModbusAndTheMirror)
{
    PduServer& s = build();
    switchedOn(4);
    meter(4, 230.26, 0.29, 66.7, 7);
    EXPECT_EQ(std::vector<uint16_t>{2303}, probe::inputRegisters(s, probe::outletVoltage(4), 1));
    EXPECT_EQ(std::vector<uint16_t>{29}, probe::inputRegisters(s, probe::outletCurrent(4), 1));
    EXPECT_EQ(std::vector<uint16_t>{667}, probe::inputRegisters(s, probe::outletPower(4), 1));
    EXPECT_EQ(std::vector<uint16_t>{100}, probe::inputRegisters(s, probe::outletFactor(4), 1));
    EXPECT_EQ((std::vector<uint16_t>{0, 7}), probe::inputRegisters(s, probe::outletEnergy(4), 2));
    _OUTLET_VALUE mirrored;
    ASSERT_TRUE(SharedMemory::instance().getOutletValue(4, mirrored));
    EXPECT_EQ(2303, mirrored.voltage);
    EXPECT_EQ(29, mirrored.current);
    EXPECT_EQ(667, mirrored.power);
    EXPECT_EQ(100, mirrored.factor);
    EXPECT_EQ(7, mirrored.energy);

    meter(255, 229.94, 3.21, 700, 123456);
    EXPECT_EQ((std::vector<uint16_t>{2299, 321, 7000, 95}), probe::inputRegisters(s, 0, 4));
}

TEST_F(DeviceCallbacksTest, ReadingsOfPortsTheUnitLacksAreDropped)
{
    build();
    const _Device before = device();
    for (int port : {-1, 8, 59, 60, 254, 256})
        meter(port, 230, 1, 230, 50);
    server().onPowerDataReceived(0, nullptr);
    EXPECT_EQ(before.status.outputs[0].voltage, outlet(0).voltage);
    EXPECT_EQ(0.0, outlet(8).voltage);
    for (int slot = 0; slot < _Device::kEnergySlots; ++slot)
        EXPECT_EQ(0, device().energyRiseCounts[slot]);
    // A counter beyond 32 bits is not believed either.
    _PowerModuleData huge = reading(230, 1, 230, 0);
    huge.energyInt = 0xFFFFFFFFu;
    server().onPowerDataReceived(255, &huge);
    EXPECT_EQ(0.0, inlet().voltage);
}

TEST_F(DeviceCallbacksTest, StatusReplyReplacesTheModulesBitsAndModbusInputs)
{
    PduServer& s = build();
    device().status.onOffMask = 0xFFFFFFFF0000005AULL;  // upper half written as zero
    s.onPowerQueryStatusResponse(0, 8, 0xA5, 0x0F);
    EXPECT_EQ(0xA5u, device().status.onOffMask);
    EXPECT_EQ(0x0Fu, device().status.calibratedMask);
    EXPECT_EQ((std::vector<uint16_t>{1, 0, 1, 0, 0, 1, 0, 1}), probe::discreteInputs(s, 0, 8));
    // The mirror shows each outlet as the module reports it, switched by
    // this daemon or not.
    for (int port = 0; port < 8; ++port)
    {
        _OUTLET_STATUS mirrored;
        ASSERT_TRUE(SharedMemory::instance().getOutletStatus(port, mirrored));
        EXPECT_EQ((0xA5 >> port) & 1, mirrored.onOff) << "outlet " << port;
    }
    // A module this unit lacks changes nothing.
    s.onPowerQueryStatusResponse(1, 8, 0xFF, 0xFF);
    s.onPowerQueryStatusResponse(-1, 8, 0xFF, 0xFF);
    s.onPowerQueryStatusResponse(0, 99, 0x00, 0x00);
    EXPECT_EQ(0u, device().status.onOffMask);
}

// A report of fewer outlets (or none) says nothing of the others: outlets 5 and 6, on and stored on, then 6 asked
// off but welded on, keep what the record, the mirror and Modbus show, stay stored on, and are not switched; the
// outlets named, up to the report's last, show as it says.
TEST_F(DeviceCallbacksTest, AReportOfFewerOutletsLeavesTheOthersAlone)
{
    PduServer& s = build();
    const auto& container = s.getPowerModuleContainer();
    container->startRead();
    pmemu::PowerModuleEmulator& emu = board_->emulator();
    ASSERT_TRUE(container->turnOnPort(5, false));
    ASSERT_TRUE(container->turnOnPort(6, false));
    ASSERT_TRUE(board_->runUntil([] { return device().status.onOffMask == 0x60; }, 5.0));
    ASSERT_TRUE(container->modules()[0]->queryRelayStatusRequest());
    auto outletDb = [this](int port) {
        return test::queryText(board_->database("outlet.db"),
                               "select on_off from status where port=" + std::to_string(port));
    };
    ASSERT_TRUE(board_->runUntil([&] { return outletDb(5) == "1" && outletDb(6) == "1"; }, 5.0));
    emu.model().setStuck(6, pmemu::PmMeterModel::Stuck::kOn);
    ASSERT_TRUE(container->turnOffPort(6, false));
    ASSERT_TRUE(board_->runUntil([] { return device().status.onOffMask == 0x20; }, 5.0));
    const uint64_t calibrated = device().status.calibratedMask;
    const int commands = emu.relayCommandCount();

    s.onPowerQueryStatusResponse(0, 0, 0x00, 0x00);
    EXPECT_EQ(0x20u, device().status.onOffMask);
    s.onPowerQueryStatusResponse(0, 4, 0x01, 0x00);
    EXPECT_EQ(0x21u, device().status.onOffMask);
    EXPECT_EQ(calibrated & 0xF0, device().status.calibratedMask);
    EXPECT_EQ((std::vector<uint16_t>{1, 0, 0, 0, 0, 1, 0, 0}), probe::discreteInputs(s, 0, 8));
    _OUTLET_STATUS mirrored;
    ASSERT_TRUE(SharedMemory::instance().getOutletStatus(5, mirrored));
    EXPECT_EQ(1, mirrored.onOff);

    // A report's last outlet and the one past it: outlet 3 named on, outlet 4's bit on beyond it; then reports
    // naming outlets up to 4 and up to 5 with the next one's bit off: outlet 5 stored on and outlet 6 asked off.
    s.onPowerQueryStatusResponse(0, 4, 0x18, 0x00);
    EXPECT_EQ(0x28u, device().status.onOffMask);
    EXPECT_EQ((std::vector<uint16_t>{0, 0, 0, 1, 0, 1, 0, 0}), probe::discreteInputs(s, 0, 8));
    for (int port : {3, 4})
    {
        ASSERT_TRUE(SharedMemory::instance().getOutletStatus(port, mirrored));
        EXPECT_EQ(port == 3 ? 1 : 0, mirrored.onOff) << port;
    }
    s.onPowerQueryStatusResponse(0, 5, 0x08, 0x00);
    s.onPowerQueryStatusResponse(0, 6, 0x28, 0x00);
    EXPECT_EQ(0x28u, device().status.onOffMask);
    board_->runUntil([] { return false; }, 0.3);
    EXPECT_EQ("1", outletDb(5));
    EXPECT_EQ("1", outletDb(6)) << "its off not stored: no report said it is off";
    EXPECT_EQ(commands, emu.relayCommandCount());
}

// A command's acknowledgement shows what it asked, with the ping latch cleared for an on; a reply that acknowledges
// no command of the outlet (the status report's loop, a stray one) shows nothing.
TEST_F(DeviceCallbacksTest, RelayReplySetsBitmapPortStatusAndPingLatch)
{
    PduServer& s = build();
    const auto& container = s.getPowerModuleContainer();
    container->startRead();
    EXPECT_EQ(1, device().status.pingActionDone[5]);
    s.onPowerControlRelayResponse(5, 1, 0);
    EXPECT_EQ(0u, device().status.onOffMask) << "no command, no report";
    ASSERT_TRUE(container->turnOnPort(5, false));
    ASSERT_TRUE(board_->runUntil([] { return device().status.onOffMask == 1ULL << 5; }, 5.0));
    EXPECT_EQ(0, device().status.pingActionDone[5]);
    _OUTLET_STATUS mirrored;
    ASSERT_TRUE(SharedMemory::instance().getOutletStatus(5, mirrored));
    EXPECT_EQ(1, mirrored.onOff);
    s.onPowerControlRelayResponse(5, 0, 1);  // failed: nothing changes
    s.onPowerControlRelayResponse(5, 0, 0);  // acknowledges no command
    EXPECT_EQ(1ULL << 5, device().status.onOffMask);
    ASSERT_TRUE(container->turnOffPort(5, false));
    ASSERT_TRUE(board_->runUntil([] { return device().status.onOffMask == 0; }, 5.0));
    ASSERT_TRUE(SharedMemory::instance().getOutletStatus(5, mirrored));
    EXPECT_EQ(0, mirrored.onOff);
    for (int port : {-1, 8, 63, 64, 255, 1000})
        s.onPowerControlRelayResponse(port, 1, 0);
    EXPECT_EQ(0u, device().status.onOffMask);
}

TEST_F(DeviceCallbacksTest, CalibrateReplyMarksInletOrOutlet)
{
    PduServer& s = build();
    s.onPowerStartCalibrateResponse(255, 0);
    EXPECT_TRUE(device().status.inputCalibrated);
    s.onPowerStartCalibrateResponse(3, 1);
    EXPECT_EQ(0u, device().status.calibratedMask);
    s.onPowerStartCalibrateResponse(3, 0);
    s.onPowerStartCalibrateResponse(40, 0);
    s.onPowerStartCalibrateResponse(-2, 0);
    EXPECT_EQ(1ULL << 3, device().status.calibratedMask);
}

TEST_F(DeviceCallbacksTest, SensorReadingsReachTheRecordAndRegisters)
{
    PduServer& s = build();
    EXPECT_EQ((std::vector<uint16_t>{0x8000, 0x8000}), probe::inputRegisters(s, probe::kTemperature, 2));
    s.onTempHum(true, 23.4, 45.6);
    EXPECT_TRUE(device().status.environment.valid);
    EXPECT_DOUBLE_EQ(23.4, device().status.environment.temperature);
    EXPECT_EQ((std::vector<uint16_t>{234, 456}), probe::inputRegisters(s, probe::kTemperature, 2));
    s.onTempHum(true, -5.3, 10.0);
    const std::vector<uint16_t> below{static_cast<uint16_t>(-53), 100};
    EXPECT_EQ(below, probe::inputRegisters(s, probe::kTemperature, 2));
    s.onTempHum(false, 23.4, 45.6);
    EXPECT_FALSE(device().status.environment.valid);
    EXPECT_EQ(2147483648.0, device().status.environment.temperature);
    EXPECT_EQ(2147483648.0, device().status.environment.humidity);
    EXPECT_EQ((std::vector<uint16_t>{0x8000, 0x8000}), probe::inputRegisters(s, probe::kTemperature, 2));
}
