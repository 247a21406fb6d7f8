#include "CalibrationModule.h"
#include "PowerModuleFixture.h"

using pmtest::Clock;
using pmtest::requestsOf;
using pmtest::seconds;

namespace
{
struct Outcome
{
    int port;
    int status;
    double at;
};

class CalibrationModuleTest : public pmtest::PowerModuleFixture
{
protected:
    void SetUp() override
    {
        PowerModuleFixture::SetUp();
        makeContainer();
        emu.model().setCalibratedBits(0);
        calibration = std::make_unique<CalibrationModule>(&loop, container);
        // As the composition root and a shown calibration page feed it.
        container->setRelayReplyCallback([this](int port, unsigned char action, unsigned char result) {
            for (int i = 0; i < deliveries; ++i)
                if (result == 0 && calibration->state() != CalibrationModule::kIdle)
                    calibration->onOutputOnOff(port, action, 0);
        });
        container->setStartCalibrateCallback([this](int port, unsigned char result) {
            calibrateReplies.push_back(result);
            if (onCalibrateReply)
                onCalibrateReply();
            calibration->onCalibrationResponse(port, result);
        });
        calibration->setFinishedCallback([this](int port, int status) {
            outcomes.push_back({port, status, seconds(Clock::now() - start)});
        });
        container->startQueryAllOutputsStatus(0.5);
        container->startQueryAllPortsMeterData(0.1);
        ASSERT_TRUE(runUntil([&] { return requestsOf(emu, powermodule::kMeterData).size() >= 2; }, 3.0));
    }

    void TearDown() override
    {
        calibration.reset();
        PowerModuleFixture::TearDown();
    }

    void begin(int port)
    {
        emu.clearRequests();
        start = Clock::now();
        calibration->startCalibration(port);
    }

    bool finished(double timeout)
    {
        return runUntil([&] { return !outcomes.empty(); }, timeout);
    }

    // The relay frames the module received, as (port, action).
    std::vector<std::pair<int, int>> relayFrames() const
    {
        std::vector<std::pair<int, int>> out;
        for (const auto& r : requestsOf(emu, powermodule::kRelayControl))
            if (r.payload.size() == 2)
                out.push_back({r.payload[0], r.payload[1]});
        return out;
    }

    // Meter and status polls resume after a calibration.
    void expectPollsRunAgain()
    {
        emu.clearRequests();
        EXPECT_TRUE(runUntil([&] { return requestsOf(emu, powermodule::kMeterData).size() >= 3; }, 2.0));
        EXPECT_TRUE(runUntil([&] { return requestsOf(emu, powermodule::kOutputStatus).size() >= 1; }, 2.0));
    }

    std::unique_ptr<CalibrationModule> calibration;
    std::vector<Outcome> outcomes;
    std::vector<int> calibrateReplies;
    std::function<void()> onCalibrateReply;
    int deliveries = 1;
    Clock::time_point start;
};
}

TEST_F(CalibrationModuleTest, OutletCalibrationRunsEveryStep)
{
    begin(3);
    EXPECT_EQ(CalibrationModule::kWaitOn, calibration->state());
    ASSERT_TRUE(runUntil([&] { return calibration->state() == CalibrationModule::kWaitStable; }, 1.0));
    EXPECT_TRUE(emu.relayBits() & (1u << 3));
    // The polls are stopped while the load settles.
    size_t meterRequests = requestsOf(emu, powermodule::kMeterData).size();
    runFor(1.0);
    EXPECT_LE(requestsOf(emu, powermodule::kMeterData).size(), meterRequests + 1);
    EXPECT_TRUE(requestsOf(emu, powermodule::kStartCalibrate).empty());

    ASSERT_TRUE(finished(5.0));
    ASSERT_EQ(1u, outcomes.size());
    EXPECT_EQ(3, outcomes[0].port);
    EXPECT_EQ(CalibrationModule::kCalibrated, outcomes[0].status);
    EXPECT_GT(outcomes[0].at, 2.0);
    EXPECT_LT(outcomes[0].at, 3.5);
    EXPECT_EQ(CalibrationModule::kIdle, calibration->state());

    auto calibrate = requestsOf(emu, powermodule::kStartCalibrate);
    ASSERT_EQ(1u, calibrate.size());
    EXPECT_EQ(std::vector<uint8_t>{3}, calibrate[0].payload);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{3, 1}, {3, 0}}), relayFrames());
    EXPECT_FALSE(emu.relayBits() & (1u << 3));
    EXPECT_TRUE(emu.model().calibratedBits() & (1u << 3));
    expectPollsRunAgain();
}

TEST_F(CalibrationModuleTest, InletCalibrationMeasuresThroughOutletZero)
{
    emu.model().setRelayBits(0xFF);
    deliveries = 2;  // composition root and calibration page both deliver each reply
    begin(255);
    ASSERT_TRUE(finished(6.0));
    ASSERT_EQ(1u, outcomes.size());
    EXPECT_EQ(255, outcomes[0].port);
    EXPECT_EQ(CalibrationModule::kCalibrated, outcomes[0].status);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {0, 1}, {0, 0}}),
              relayFrames());
    auto calibrate = requestsOf(emu, powermodule::kStartCalibrate);
    ASSERT_EQ(1u, calibrate.size());
    EXPECT_EQ(std::vector<uint8_t>{255}, calibrate[0].payload);
    EXPECT_EQ(0, emu.relayBits());
}

TEST_F(CalibrationModuleTest, SilentModuleEndsWithNoOnAcknowledgement)
{
    emu.setSilent(true);
    begin(3);
    ASSERT_TRUE(finished(4.0));
    ASSERT_EQ(1u, outcomes.size());
    EXPECT_EQ(3, outcomes[0].port);
    EXPECT_EQ(CalibrationModule::kNoOnAck, outcomes[0].status);
    EXPECT_NEAR(2.0, outcomes[0].at, 0.3);
    EXPECT_TRUE(requestsOf(emu, powermodule::kStartCalibrate).empty());
    expectPollsRunAgain();
}

TEST_F(CalibrationModuleTest, FailedInletCalibrationReportsTheSwitchedOutlet)
{
    emu.setSilent(true);
    begin(255);
    ASSERT_TRUE(finished(4.0));
    EXPECT_EQ(0, outcomes[0].port);
    EXPECT_EQ(CalibrationModule::kNoOnAck, outcomes[0].status);
}

TEST_F(CalibrationModuleTest, FailureResultOrOtherPortWaitsForTheTimeout)
{
    emu.model().setCalibrationFailure(1);
    begin(3);
    ASSERT_TRUE(runUntil([&] { return calibration->state() == CalibrationModule::kWaitCalibrated; }, 3.0));
    double calibrateSent = seconds(Clock::now() - start);
    calibration->onCalibrationResponse(5, 0);  // another port
    EXPECT_EQ(CalibrationModule::kWaitCalibrated, calibration->state());
    ASSERT_TRUE(runUntil([&] { return !calibrateReplies.empty(); }, 1.0));
    EXPECT_EQ(std::vector<int>{1}, calibrateReplies);
    EXPECT_EQ(CalibrationModule::kWaitCalibrated, calibration->state());

    ASSERT_TRUE(finished(6.0));
    EXPECT_EQ(3, outcomes[0].port);
    EXPECT_EQ(CalibrationModule::kNoCalibrationResult, outcomes[0].status);
    EXPECT_NEAR(calibrateSent + 4.0, outcomes[0].at, 0.3);
    // The outlet is switched off, without waiting for it.
    ASSERT_TRUE(runUntil([&] { return !(emu.relayBits() & (1u << 3)); }, 1.0));
    EXPECT_EQ((std::vector<std::pair<int, int>>{{3, 1}, {3, 0}}), relayFrames());
    expectPollsRunAgain();
}

TEST_F(CalibrationModuleTest, MissingOffAcknowledgement)
{
    onCalibrateReply = [this] { emu.setSilent(true); };
    begin(3);
    ASSERT_TRUE(runUntil([&] { return calibration->state() == CalibrationModule::kWaitOff; }, 4.0));
    double offSent = seconds(Clock::now() - start);
    ASSERT_TRUE(finished(4.0));
    EXPECT_EQ(3, outcomes[0].port);
    EXPECT_EQ(CalibrationModule::kNoOffAck, outcomes[0].status);
    EXPECT_NEAR(offSent + 2.0, outcomes[0].at, 0.3);
}

TEST_F(CalibrationModuleTest, RepliesOutsideACalibrationChangeNothing)
{
    calibration->onOutputOnOff(3, 1, 0);
    calibration->onCalibrationResponse(3, 0);
    calibration->onTimeout();
    EXPECT_EQ(CalibrationModule::kIdle, calibration->state());
    EXPECT_TRUE(outcomes.empty());
}
