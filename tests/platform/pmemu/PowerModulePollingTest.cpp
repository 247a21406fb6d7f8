#include "PowerModuleFixture.h"

using pmtest::Clock;
using pmtest::median;
using pmtest::requestsOf;
using pmtest::seconds;

namespace
{
class PowerModulePollingTest : public pmtest::PowerModuleFixture
{
};

std::vector<int> meterPorts(const pmemu::PowerModuleEmulator& emu)
{
    std::vector<int> ports;
    for (const auto& r : requestsOf(emu, 1))
        ports.push_back(r.payload.empty() ? -1 : r.payload[0]);
    return ports;
}

std::vector<double> gaps(const std::vector<pmemu::PmRequest>& rs)
{
    std::vector<double> out;
    for (size_t i = 1; i < rs.size(); ++i)
        out.push_back(seconds(rs[i].received - rs[i - 1].received));
    return out;
}
}

TEST_F(PowerModulePollingTest, InletThenOutletsEveryTenthAndStatusEveryHalfSecond)
{
    makeContainer();
    std::vector<int> metered;
    std::vector<int> statusCounts;
    container->setMeterDataCallback([&](int port, const _PowerModuleData* d) {
        ASSERT_NE(nullptr, d);
        metered.push_back(port);
    });
    container->setOutputStatusCallback([&](int m, int count, unsigned char, unsigned char) {
        EXPECT_EQ(0, m);
        statusCounts.push_back(count);
    });
    emu.model().setVoltage(231.5);
    auto start = Clock::now();
    container->startQueryAllOutputsStatus(0.5);
    container->startQueryAllPortsMeterData(0.1);
    ASSERT_TRUE(runUntil([&] { return requestsOf(emu, 1).size() >= 20 && statusCounts.size() >= 3; }, 20.0));
    container->stopQueryAllPortsMeterData();
    container->stopQueryAllOutputsStatus();
    runFor(0.3);  // what was on its way
    const size_t meterPolls = requestsOf(emu, 1).size(), statusPolls = requestsOf(emu, 3).size();
    runFor(1.2);
    EXPECT_EQ(meterPolls, requestsOf(emu, 1).size()) << "stopped";
    EXPECT_EQ(statusPolls, requestsOf(emu, 3).size()) << "stopped";

    std::vector<int> ports = meterPorts(emu);
    for (size_t i = 0; i < ports.size(); ++i)
        EXPECT_EQ(i % 9 == 0 ? 255 : static_cast<int>(i % 9) - 1, ports[i]) << "query " << i;
    auto meter = requestsOf(emu, 1);
    EXPECT_GE(seconds(meter.front().received - start), 0.08);
    double m = median(gaps(meter));
    EXPECT_GT(m, 0.08);
    EXPECT_LT(m, 0.3);
    double s = median(gaps(requestsOf(emu, 3)));
    EXPECT_GT(s, 0.4);
    EXPECT_LT(s, 1.0);
    ASSERT_FALSE(metered.empty());
    EXPECT_EQ(255, metered.front());
    EXPECT_EQ(8, statusCounts.front());
}

TEST_F(PowerModulePollingTest, InletOnlyAndOutletsOnly)
{
    auto inletOnly = std::make_shared<PowerModule>(&loop, "/dev/ttyS10", 0, 8, true, false);
    inletOnly->serialPort()->fileHandler()->startRead();
    inletOnly->startQueryMeterData(0.05);
    ASSERT_TRUE(runUntil([&] { return requestsOf(emu, 1).size() >= 5; }, 10.0));
    inletOnly->stopQueryMeterData();
    for (int p : meterPorts(emu))
        EXPECT_EQ(255, p);

    inletOnly.reset();
    runFor(0.2);
    emu.clearRequests();
    auto outletsOnly = std::make_shared<PowerModule>(&loop, "/dev/ttyS10", 0, 8, false, true);
    outletsOnly->startQueryMeterData(0.05);
    ASSERT_TRUE(runUntil([&] { return requestsOf(emu, 1).size() >= 10; }, 10.0));
    outletsOnly->stopQueryMeterData();
    std::vector<int> ports = meterPorts(emu);
    for (size_t i = 0; i < ports.size(); ++i)
        EXPECT_EQ(static_cast<int>(i % 8), ports[i]) << "query " << i;
}

TEST_F(PowerModulePollingTest, RestartingThePollBeginsAgainAtTheInlet)
{
    makeContainer();
    container->startQueryAllPortsMeterData(0.05);
    // Stopped where the inlet is not next.
    ASSERT_TRUE(runUntil([&] {
        const auto queries = requestsOf(emu, 1);
        return queries.size() >= 4 && queries.back().payload[0] != 7;
    }, 10.0));
    container->stopQueryAllPortsMeterData();
    runFor(0.3);  // the last query reaches the module
    emu.clearRequests();
    container->startQueryAllPortsMeterData(0.05);
    ASSERT_TRUE(runUntil([&] { return !requestsOf(emu, 1).empty(); }, 10.0));
    container->stopQueryAllPortsMeterData();
    EXPECT_EQ(255, requestsOf(emu, 1).front().payload[0]);
}

// What the polls take of the line goes ahead of the commands waiting, so it counts in how far behind the line is:
// more while a status poll runs too, and as before once it stops.
TEST_F(PowerModulePollingTest, ThePollsShareCountsInHowFarBehindTheLineIs)
{
    emu.setLinePace(PowerModule::kLineBytesPerSecond);
    makeContainer();
    container->startQueryAllPortsMeterData(0.1);
    runFor(1.0);  // the replies' pace is known
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(container->turnOnPort(i % 8, false));
    const double meterOnly = module->lineBehind();  // nothing carried meanwhile: the loop does not run
    container->startQueryAllOutputsStatus(0.01);  // a share the meter poll's size
    const double withStatus = module->lineBehind();
    container->stopQueryAllOutputsStatus();
    // The device drains a little meanwhile.
    EXPECT_GT(withStatus, meterOnly + 0.1);
    EXPECT_NEAR(meterOnly, module->lineBehind(), 0.01);
    container->stopQueryAllPortsMeterData();
    EXPECT_LT(module->lineBehind(), meterOnly - 0.05);
}

TEST_F(PowerModulePollingTest, NoPollFlagsMeansNoQueriesAndNoTimeout)
{
    auto idle = std::make_shared<PowerModule>(&loop, "/dev/ttyS10", 0, 8, false, false);
    int timeouts = 0;
    idle->setDataTimeoutCallback([&](const PowerModule::Ptr&) { ++timeouts; });
    idle->startQueryMeterData(0.05);
    runFor(3.4);
    EXPECT_TRUE(requestsOf(emu, 1).empty());
    EXPECT_EQ(0, timeouts);
}

TEST_F(PowerModulePollingTest, DataTimeoutFiresOncePerSilence)
{
    makeContainer();
    std::vector<double> fired;
    auto start = Clock::now();
    container->setDataTimeoutCallback([&](int m) {
        EXPECT_EQ(0, m);
        fired.push_back(seconds(Clock::now() - start));
    });
    emu.setSilent(true);
    container->startQueryAllPortsMeterData(0.1);
    ASSERT_TRUE(runUntil([&] { return !fired.empty(); }, 10.0));
    EXPECT_GE(fired[0], 2.95);
    EXPECT_LT(fired[0], 4.5);
    runFor(1.5);
    EXPECT_EQ(1u, fired.size());  // not re-armed without a reply

    // Replies re-arm it; a new silence fires it again 3 s after the last reply.
    emu.setSilent(false);
    ASSERT_TRUE(runUntil([&] { return emu.repliesSent() >= 3; }, 5.0));
    emu.setSilent(true);
    auto lastReplyAround = Clock::now();
    ASSERT_TRUE(runUntil([&] { return fired.size() == 2; }, 10.0));
    double gap = fired[1] - seconds(lastReplyAround - start);
    EXPECT_GE(gap, 2.7);
    EXPECT_LT(gap, 4.5);
    container->stopQueryAllPortsMeterData();
}

TEST_F(PowerModulePollingTest, AnsweringModuleNeverTimesOut)
{
    makeContainer();
    int timeouts = 0;
    int readings = 0;
    container->setDataTimeoutCallback([&](int) { ++timeouts; });
    container->setMeterDataCallback([&](int, const _PowerModuleData*) { ++readings; });
    container->startQueryAllPortsMeterData(0.1);
    runFor(3.6);
    container->stopQueryAllPortsMeterData();
    EXPECT_EQ(0, timeouts);
    EXPECT_GT(readings, 10);
}
