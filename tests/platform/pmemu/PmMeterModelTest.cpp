#include <gtest/gtest.h>

#include "PmMeterModel.h"

using pmemu::PmMeterModel;
using pmemu::PmReading;
using Clock = std::chrono::steady_clock;

namespace
{
struct FakeClock
{
    Clock::time_point now = Clock::time_point() + std::chrono::hours(1);
    PmMeterModel::Now function()
    {
        return [this] { return now; };
    }
    void advance(std::chrono::milliseconds d) { now += d; }
};
}

TEST(PmMeterModelTest, OutletReadsItsLoadOnlyWhileOn)
{
    FakeClock clock;
    PmMeterModel model(clock.function());
    model.setVoltage(240.0);
    model.setCurrent(3, 2.0);
    model.setPowerFactor(3, 0.5);
    PmReading r = *model.reading(3);
    EXPECT_DOUBLE_EQ(r.volts, 240.0);
    EXPECT_EQ(r.amps, 0.0);
    EXPECT_EQ(r.watts, 0.0);

    EXPECT_EQ(model.switchRelay(3, 1), 0);
    r = *model.reading(3);
    EXPECT_DOUBLE_EQ(r.amps, 2.0);
    EXPECT_DOUBLE_EQ(r.watts, 240.0);
    model.setPower(3, 1.0);  // a fixed power wins over volts x amps x factor
    EXPECT_DOUBLE_EQ(model.reading(3)->watts, 1.0);
    model.setPower(3, -1);
    EXPECT_DOUBLE_EQ(model.reading(3)->watts, 240.0);
    EXPECT_FALSE(model.reading(8).has_value());
    EXPECT_FALSE(model.reading(-1).has_value());
}

TEST(PmMeterModelTest, InletSumsTheOutletsUnlessFixed)
{
    FakeClock clock;
    PmMeterModel model(clock.function());
    model.setCurrent(0, 1.0);
    model.setCurrent(1, 2.0);
    model.setCurrent(2, 4.0);
    model.setRelayBits(0x03);
    PmReading inlet = *model.reading(255);
    EXPECT_DOUBLE_EQ(inlet.amps, 3.0);
    EXPECT_DOUBLE_EQ(inlet.watts, 690.0);
    model.setCurrent(255, 0.05);
    model.setPower(255, 11.5);
    inlet = *model.reading(255);
    EXPECT_DOUBLE_EQ(inlet.amps, 0.05);
    EXPECT_DOUBLE_EQ(inlet.watts, 11.5);
    model.setCurrent(255, -1);
    EXPECT_DOUBLE_EQ(model.reading(255)->amps, 3.0);
}

TEST(PmMeterModelTest, EnergyRisesWithPowerOverTime)
{
    FakeClock clock;
    PmMeterModel model(clock.function());
    model.setVoltage(250.0);
    model.setCurrent(1, 4.0);  // 1 kW
    model.setEnergy(1, 500);
    clock.advance(std::chrono::hours(1));
    EXPECT_EQ(model.reading(1)->energyHundredths, 500u) << "off outlets draw nothing";
    model.setRelay(1, true);
    clock.advance(std::chrono::minutes(36));  // 0.6 kWh
    EXPECT_EQ(model.reading(1)->energyHundredths, 560u);
    EXPECT_EQ(model.reading(255)->energyHundredths, 60u);
    model.setEnergyRate(10.0);
    clock.advance(std::chrono::minutes(6));  // 0.1 kWh, ten times as fast
    EXPECT_EQ(model.reading(1)->energyHundredths, 660u);
    model.setRelay(1, false);
    clock.advance(std::chrono::hours(5));
    EXPECT_EQ(model.reading(1)->energyHundredths, 660u);
}

TEST(PmMeterModelTest, RelayCommandsRefuseBadPortsAndActions)
{
    PmMeterModel model;
    EXPECT_EQ(model.switchRelay(7, 1), 0);
    EXPECT_EQ(model.switchRelay(8, 1), 1);
    EXPECT_EQ(model.switchRelay(255, 1), 1);
    EXPECT_EQ(model.switchRelay(2, 2), 1);
    EXPECT_EQ(model.relayBits(), 0x80);
    EXPECT_EQ(model.switchRelay(7, 0), 0);
    EXPECT_EQ(model.relayBits(), 0x00);
}

TEST(PmMeterModelTest, StuckRelaysAcknowledgeCommandsButStayAsStuck)
{
    using Stuck = PmMeterModel::Stuck;
    PmMeterModel model;
    model.setStuck(2, Stuck::kOn);  // welded: closes, whatever it was
    model.setStuck(5, Stuck::kOff);
    model.setRelay(5, true);  // the board's own control still moves it
    EXPECT_EQ(model.relayBits(), 0x24);
    EXPECT_EQ(model.switchRelay(2, 0), 0);
    EXPECT_EQ(model.switchRelay(5, 0), 0);
    EXPECT_EQ(model.switchRelay(3, 1), 0);
    EXPECT_EQ(model.switchRelay(2, 2), 1) << "a bad action is still refused";
    EXPECT_EQ(model.relayBits(), 0x2C);
    model.setStuck(5, Stuck::kOff);
    EXPECT_EQ(model.switchRelay(5, 1), 0);
    EXPECT_EQ(model.relayBits(), 0x0C);
    model.setStuck(2, Stuck::kFree);
    EXPECT_EQ(model.switchRelay(2, 0), 0);
    EXPECT_EQ(model.relayBits(), 0x08);
    EXPECT_EQ(model.stuck(5), Stuck::kOff);
    EXPECT_EQ(model.stuck(8), Stuck::kFree);
}

TEST(PmMeterModelTest, ATrippingLoadGoesOffAtItsTimeAfterEachOn)
{
    using std::chrono::milliseconds;
    FakeClock clock;
    PmMeterModel model(clock.function());
    model.setTrip(2, milliseconds(500));
    model.setTrip(8, milliseconds(1));  // no such outlet
    EXPECT_EQ(model.switchRelay(2, 1), 0);
    EXPECT_EQ(model.nextTrip(), clock.now + milliseconds(500));
    clock.advance(milliseconds(499));
    EXPECT_EQ(model.relayBits(), 0x04);
    clock.advance(milliseconds(1));
    EXPECT_EQ(model.relayBits(), 0x00) << "due at on time + after, whoever reads first";
    EXPECT_EQ(model.trips(), 1u);
    EXPECT_FALSE(model.nextTrip());

    // An on command to an outlet already on starts its time over.
    model.switchRelay(2, 1);
    clock.advance(milliseconds(400));
    model.switchRelay(2, 1);
    clock.advance(milliseconds(499));
    EXPECT_EQ(model.relayBits(), 0x04) << "timed from the second on";
    clock.advance(milliseconds(1));
    EXPECT_EQ(model.relayBits(), 0x00);
    EXPECT_EQ(model.trips(), 2u);

    // Off by any means drops the pending trip; so does the rule's end.
    model.switchRelay(2, 1);
    model.setRelay(2, false);
    model.setRelay(2, true);
    clock.advance(milliseconds(1000));
    EXPECT_EQ(model.relayBits(), 0x04);
    model.switchRelay(2, 1);
    model.setTrip(2, milliseconds(0));
    clock.advance(milliseconds(1000));
    EXPECT_EQ(model.relayBits(), 0x04);
    EXPECT_EQ(model.trips(), 2u);
}

TEST(PmMeterModelTest, OnlyRelayCommandsArmATripAndStuckRelaysNeverTrip)
{
    using Stuck = PmMeterModel::Stuck;
    FakeClock clock;
    PmMeterModel model(clock.function());
    for (int outlet : {0, 1, 5, 6})
        model.setTrip(outlet, std::chrono::milliseconds(100));
    model.setRelay(0, true);
    model.setRelayBits(0x03);
    model.setStuck(5, Stuck::kOn);
    model.switchRelay(5, 1);
    model.switchRelay(6, 1);
    model.setStuck(6, Stuck::kOn);  // stuck after it was armed
    clock.advance(std::chrono::hours(1));
    EXPECT_EQ(model.relayBits(), 0x63);
    EXPECT_EQ(model.trips(), 0u);
}

TEST(PmMeterModelTest, ATripStopsTheEnergyAtItsTime)
{
    FakeClock clock;
    PmMeterModel model(clock.function());
    model.setVoltage(250.0);
    model.setCurrent(1, 4.0);  // 1 kW
    model.setTrip(1, std::chrono::minutes(36));
    model.switchRelay(1, 1);
    clock.advance(std::chrono::hours(2));  // nobody looked meanwhile
    const PmReading r = *model.reading(1);
    EXPECT_EQ(r.amps, 0.0);
    EXPECT_EQ(r.energyHundredths, 60u);
    EXPECT_EQ(model.reading(255)->energyHundredths, 60u);
}

TEST(PmMeterModelTest, CalibrationNeedsTheMeasuredOutletOn)
{
    PmMeterModel model;
    model.setCalibratedBits(0x00);
    EXPECT_EQ(model.calibrate(3), 1);
    EXPECT_EQ(model.calibrate(255), 1);
    model.setRelay(3, true);
    EXPECT_EQ(model.calibrate(3), 0);
    EXPECT_EQ(model.calibratedBits(), 0x08);
    model.setRelayBits(0x01);
    EXPECT_EQ(model.calibrate(255), 0);
    EXPECT_EQ(model.calibratedBits(), 0x08) << "the inlet has no bit";
    model.setCalibrationFailure(2);
    EXPECT_EQ(model.calibrate(0), 2);
    EXPECT_EQ(model.calibratedBits(), 0x08);
    EXPECT_EQ(model.calibrate(9), 1);

    model.setCaliParams(1, 2, 3);
    uint16_t v = 0, c = 0, p = 0;
    model.caliParams(v, c, p);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(c, 2);
    EXPECT_EQ(p, 3);
}
