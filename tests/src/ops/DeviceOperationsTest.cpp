// The shared device operations on an in-process server over the power-module emulator and the simulated
// clock: database rows, record, relays and timers after each call, and the outlets no operation may index.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <fstream>
#include <sys/stat.h>

#include "CascadeAddressSetting.h"
#include "DelaySettings.h"
#include "DeviceClock.h"
#include "DeviceOperationsTest.h"
#include "EnergyDatabase.h"
#include "EnergyOperations.h"
#include "NameSettings.h"
#include "OutletAction.h"
#include "OutletThresholdSettings.h"
#include "PduServer.h"
#include "PingOperations.h"
#include "PingTask.h"
#include "PingTaskContainer.h"
#include "PowerModuleContainer.h"
#include "ScheduledTask.h"
#include "ScheduledTaskContainer.h"
#include "ScheduledTaskOperations.h"
#include "UnitThresholdSettings.h"
#include "Utility.h"
#include "platform/core/BoardClock.h"
#include "platform/core/BoardRoot.h"
#include "platform/pmemu/PowerModuleEmulator.h"
#include "support/ClockShift.h"
#include "support/LogCapture.h"
#include "support/ServerBoard.h"
#include "support/TestDatabases.h"

namespace
{
const double kKeep = Utility::kInvalidDoubleValue;
const char* const kFourOutlets = "G010300000000001";
const char* const kClaims48 = "G0E0300000000001";  // more outlets than the record's tables
}

TEST_F(DeviceOperationsTest, OnAFourOutletUnitOnlyItsOutletsAreSwitchedWatchedAndTested)
{
    sql("update delays set restart=1 where addr=0 and port=2");
    PduServer& s = build(kFourOutlets);
    OutletAction action(*s.getPowerModuleContainer());
    PingTaskContainer& tasks = *s.getPingTaskContainer();
    PingOperations pings(tasks);
    for (int port : {-2, -1, 4, 7, 8, 59, 60, INT_MAX, INT_MIN})
    {
        EXPECT_FALSE(action.apply(port, 1)) << port;
        EXPECT_FALSE(OutletThresholdSettings::setOne(port, OutletThresholdSettings::kWarnUpper, 1)) << port;
        EXPECT_FALSE(DelaySettings::setOne(port, DelaySettings::kOn, 1)) << port;
        EXPECT_FALSE(port != NameSettings::kUnitName && NameSettings::save({{port, "x"}})) << port;
        EXPECT_FALSE(pings.test(port, "127.0.0.1") || PingOperations::testAnswered(port) || tasks.find(port)) << port;
    }
    EXPECT_EQ("10.0", outletRow("alarms", "current_max", 4));
    // SNMP's rule: actions other than 0, 1 and 2 switch nothing.
    OutletAction(*s.getPowerModuleContainer(), OutletAction::kOthersIgnored).apply(1, 7);
    EXPECT_FALSE(relaysBecome(0x02, 0.3));
    EXPECT_EQ(0, board_.emulator().relayCommandCount());

    action.applyMask<uint32_t>(0xFFFFFFFFu, 1);
    ASSERT_TRUE(relaysBecome(0x0F, 2));
    action.applyMask<uint64_t>(~0ull ^ 0x4, 0);
    ASSERT_TRUE(relaysBecome(0x04, 2));
    action.apply(2, 7);  // any other action restarts
    ASSERT_TRUE(relaysBecome(0x00, 2));
    EXPECT_TRUE(relaysBecome(0x04, 3));
    EXPECT_EQ(0, board_.emulator().relayCommandCount(4));

    tasks.addPingTask(1, "127.0.0.1", 30, 2, 0, true);
    const PingSetting on{0, 0x7F000001, 30, 2, 0, 1}, off{1, 0x7F000001, 40, 2, 2, 0}, far{6, 0x0A000001, 5, 1, 0, 1};
    ASSERT_TRUE(pings.apply({{0, on}, {1, off}, {6, far}}));
    EXPECT_EQ("127.0.0.1|10.0.0.1", text("select group_concat(ip, '|') from ping where port in (0, 6)"));
    EXPECT_EQ(40u, device().pingSettings[1].interval);
    EXPECT_EQ(0u, device().pingSettings.count(6));  // saved, not applied
    ASSERT_TRUE(tasks.find(0) && tasks.find(0)->periodic());
    EXPECT_FALSE(tasks.find(1) || tasks.find(6));
    EXPECT_FALSE(pings.apply({{0, far}, {9, on}}));  // outlet 9 has no ping row
    EXPECT_EQ("30", outletRow("ping", "interval", 0));
    EXPECT_EQ(30u, device().pingSettings[0].interval);

    EXPECT_FALSE(pings.test(2, "not.an.address") || tasks.find(2));
    device().status.pingTestResult[2] = 1;
    ASSERT_TRUE(pings.test(2, "127.0.0.1"));
    EXPECT_FALSE(PingOperations::testAnswered(2));
    ASSERT_TRUE(tasks.find(2) && !tasks.find(2)->periodic());
    EXPECT_TRUE(board_.runUntil([] { return PingOperations::testAnswered(2); }, 4));
}

// The restart delay is the shortest of the three: the outlet comes back on that long after its switch-off, neither
// after its on delay nor after its off delay once more.
TEST_F(DeviceOperationsTest, ARestartWaitsItsOffDelayAndThenItsRestartDelay)
{
    sql("update delays set \"on\"=10, off=5, restart=1 where addr=0 and port=1");
    PduServer& s = build();
    pmemu::PowerModuleEmulator& module = board_.emulator();
    module.model().setRelay(1, true);
    module.clearRequests();
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(OutletAction(*s.getPowerModuleContainer()).apply(1, 2));
    // The relay frames for outlet 1, as (action, seconds after the request).
    std::vector<std::pair<int, double>> frames;
    ASSERT_TRUE(board_.runUntil([&] {
        frames.clear();
        for (const pmemu::PmRequest& r : module.requests())
            if (r.command == 2 && r.payload.size() == 2 && r.payload[0] == 1)
                frames.push_back({r.payload[1], std::chrono::duration<double>(r.received - start).count()});
        return frames.size() >= 2;
    }, 20)) << frames.size() << " relay frames";
    ASSERT_EQ(2u, frames.size());
    EXPECT_EQ(0, frames[0].first);
    EXPECT_GE(frames[0].second, 4.95) << "the off delay";
    EXPECT_EQ(1, frames[1].first);
    EXPECT_GE(frames[1].second - frames[0].second, 0.95) << "the restart delay, after the off half";
    EXPECT_LT(frames[1].second - frames[0].second, 4.0) << "neither the on nor the off delay";
    EXPECT_TRUE(relaysBecome(0x02, 1));
}

// One request acts once on each outlet however often it names it, and is refused whole, nothing switched, when
// one of its outlets already has as many delayed actions waiting as it may.
TEST_F(DeviceOperationsTest, ARequestActsOnceOnEachOutletOrNotAtAll)
{
    sql("update delays set \"on\"=3600 where addr=0 and port=3");
    PduServer& s = build();
    pmemu::PowerModuleEmulator& module = board_.emulator();
    test::LogCapture log;
    // Relay frames of an outlet, not counting the retries of a late acknowledgement.
    auto switched = [&](int port) {
        return module.relayCommandCount(port) - log.count("retry, port:" + std::to_string(port) + " ");
    };
    const OutletAction action(*s.getPowerModuleContainer());
    ASSERT_TRUE(action.applyList(std::vector<int>(12000, 0), 1));
    ASSERT_TRUE(action.applyList({1, 9, 1, -1, 1}, 1));
    ASSERT_TRUE(action.applyMask<uint64_t>(0x4ull | 1ull << 40, 1));
    ASSERT_TRUE(relaysBecome(0x07, 2));
    for (int port : {0, 1, 2})
        EXPECT_EQ(1, switched(port)) << port;

    for (size_t i = 0; i < PowerModuleContainer::kMaxDelayedPerPort; ++i)
        ASSERT_TRUE(action.apply(3, 1)) << i;
    EXPECT_FALSE(action.apply(3, 1));
    EXPECT_FALSE(action.applyList({4, 3}, 1));
    EXPECT_FALSE(action.applyMask<uint32_t>(0x18, 1));
    EXPECT_FALSE(relaysBecome(0x17, 0.5));
    EXPECT_EQ(0, module.relayCommandCount(3) + module.relayCommandCount(4));
    EXPECT_EQ(1, switched(0));
    // Outlet 3's restart waits no delayed place (no off delay): carried out.
    EXPECT_TRUE(action.apply(3, 2));
    EXPECT_TRUE(board_.runUntil([&] { return module.relayCommandCount(3) == 1; }, 2));
}

// Outlets switch in the order asked: a list's in its order, an outlet named again at its first place; a mask's and a
// coil write's ascending, each coil with its own action.
TEST_F(DeviceOperationsTest, OutletsSwitchInTheOrderAsked)
{
    PduServer& s = build();
    const OutletAction action(*s.getPowerModuleContainer());
    ASSERT_TRUE(action.applyList({3, 1}, 1) && action.applyList({2, 5, 2}, 0));
    EXPECT_EQ((Frames{{3, 1}, {1, 1}, {2, 0}, {5, 0}}), relayFrames(4));
    const unsigned char coils[] = {1, 0, 0, 1};  // outlets 4 to 7
    ASSERT_TRUE(action.applyMask<uint32_t>(0x0A, 0) && s.onModbusPowerModuleControl(coils, 4, 4));
    EXPECT_EQ((Frames{{1, 0}, {3, 0}, {4, 1}, {5, 0}, {6, 0}, {7, 1}}), relayFrames(6));
}

// A task has no one to answer: it switches each of its outlets with room, whether those without come before or
// after them, and one line names the task and every outlet it left alone.
TEST_F(DeviceOperationsTest, ATaskSwitchesEachOfItsOutletsWithRoom)
{
    sql("update delays set \"on\"=3600 where addr=0 and port in (0, 2, 5)");
    PduServer& s = build();
    for (int port : {0, 2, 5})
        for (size_t i = 0; i < PowerModuleContainer::kMaxDelayedPerPort; ++i)
            ASSERT_TRUE(OutletAction(*s.getPowerModuleContainer()).apply(port, 1)) << port << " " << i;
    test::LogCapture log;
    s.onScheduledTask(42, 0x6u, 1);
    EXPECT_EQ((Frames{{1, 1}}), relayFrames(1));
    EXPECT_EQ(1, log.count("scheduled task id:42 left outlet 2 alone"));
    s.onScheduledTask(43, 0x2Du, 1);  // 0, 2, 3, 5: only 3 has room
    EXPECT_EQ((Frames{{3, 1}}), relayFrames(1));
    EXPECT_EQ(1, log.count("scheduled task id:43 left outlets 0, 2, 5 alone"));
    EXPECT_EQ(2, log.count(" alone: no room"));
}

TEST_F(DeviceOperationsTest, NamesSaveOnlyTheUnitsOutletsLimitsAndDelaysAllOrNothingThenTheRecord)
{
    build(kClaims48);
    EXPECT_TRUE(NameSettings::save({{-1, "Rack"}, {2, "Fan"}, {9, "Nine"}, {-3, "Odd"}, {40, "Far"}}));
    EXPECT_EQ("Fan", text("select port_2 from pdu_names where addr=0"));
    EXPECT_EQ("Rack", device().deviceName);
    uint32_t mask = 1u | 1u << 9 | 1u << 31;
    std::vector<std::string> names{"Zero", "Nine", "Unit"};
    ASSERT_TRUE(NameSettings::saveMasked(mask, names));
    EXPECT_EQ(0x80000001u, mask);
    EXPECT_EQ((std::vector<std::string>{"Zero", "Unit"}), names);
    EXPECT_EQ("Unit", text("select name from pdu_names where addr=0"));
    uint64_t wide = 1ull << 40 | 1ull << 41;
    EXPECT_FALSE(NameSettings::saveMasked(wide, names) || wide != 0);

    // Limits and delays: one entry for an outlet beyond the tables refuses the whole list, even one that changes
    // nothing; rows and record stay.
    _DeviceOutputThresholdSetting limits;
    const std::vector<_DeviceOutputThreshold> refused[] = {
        {{1, 5.5, kKeep, kKeep, 0.5}, {9, 1, 1, 1, 1}}, {{-1, 1, 1, 1, 1}, {1, 5.5, kKeep, kKeep, 0.5}},
        {{1, 5.5, kKeep, kKeep, 0.5}, {8, kKeep, kKeep, kKeep, kKeep}}};
    for (const auto& list : refused)
    {
        limits.thresholds = list;
        EXPECT_FALSE(OutletThresholdSettings::set(limits)) << list.back().port;
    }
    const std::vector<_DevicePortDelay> refusedDelays[] = {
        {{0, 5, -1, -1}, {8, 1, 1, 1}}, {{INT_MIN, 1, 1, 1}}, {{0, 5, -1, -1}, {9, -1, -1, -1}}};
    for (const auto& list : refusedDelays)
        EXPECT_FALSE(DelaySettings::set(list)) << list.back().port;
    EXPECT_EQ("10.0|0.0|0", text("select current_max || '|' || outage_min || '|' || (select \"on\" from delays "
                                 "where addr=0 and port=0) from alarms where addr=0 and port=1"));
    EXPECT_DOUBLE_EQ(10, device().outputThresholds[1].warnUpperCurrent);
    EXPECT_EQ(0, device().portDelays[0].onDelay);

    // An entry that changes nothing is skipped.
    limits.thresholds = {{1, 5.5, kKeep, kKeep, 0.5}, {1, kKeep, kKeep, kKeep, kKeep}};
    ASSERT_TRUE(OutletThresholdSettings::set(limits));
    EXPECT_EQ("5.5|16.0", outletRow("alarms", "current_max || '|' || outage_max", 1));
    EXPECT_DOUBLE_EQ(0.5, device().outputThresholds[1].offLowerCurrent);
    EXPECT_DOUBLE_EQ(16, device().outputThresholds[1].offUpperCurrent);
    ASSERT_TRUE(OutletThresholdSettings::setOne(0, OutletThresholdSettings::kOffUpper, kKeep));
    EXPECT_EQ("2147483648.0", outletRow("alarms", "outage_max", 0));

    sql("update delays set \"on\"=2, off=3, restart=4 where addr=0 and port=0");
    device().portDelays[0] = {0, 2, 3, 4};
    ASSERT_TRUE(DelaySettings::set({{0, 5, -1, -1}, {6, -1, -1, -1}}));
    EXPECT_EQ("5|3", outletRow("delays", "\"on\" || '|' || off", 0));
    EXPECT_EQ(5 * 10 + 3, device().portDelays[0].onDelay * 10 + device().portDelays[0].offDelay);  // -1 keeps it
    ASSERT_TRUE(DelaySettings::setOne(2, DelaySettings::kOff, 65535) && device().portDelays[2].offDelay == 65535);

    // Delays outside 0 to 65535 s: refused, nothing saved (-1 keeps a delay only in a list).
    const std::vector<_DevicePortDelay> outOfRange[] = {
        {{0, 7, -1, -1}, {1, -1, -1, 65536}}, {{0, -5, -1, -1}}, {{1, -1, INT_MAX, -1}}, {{1, 1, 1, INT_MIN}}};
    for (const auto& list : outOfRange)
        EXPECT_FALSE(DelaySettings::set(list)) << list.back().restartDelay;
    for (int seconds : {-1, -5, 65536, INT_MAX, INT_MIN})
        EXPECT_FALSE(DelaySettings::setOne(1, DelaySettings::kRestart, seconds)) << seconds;
    EXPECT_EQ("5|3|4", outletRow("delays", "\"on\" || '|' || off || '|' || restart", 0));
    EXPECT_EQ("0|0|5", outletRow("delays", "\"on\" || '|' || off || '|' || restart", 1));
    EXPECT_EQ(5, device().portDelays[0].onDelay);
    EXPECT_EQ(5, device().portDelays[1].restartDelay);

    // One missing row fails the whole list; rows and record stay.
    sql("delete from alarms where addr=0 and port=2");
    sql("delete from delays where addr=0 and port=7");
    limits.thresholds = {{0, 3, kKeep, kKeep, kKeep}, {2, 3, kKeep, kKeep, kKeep}};
    EXPECT_FALSE(OutletThresholdSettings::set(limits));
    EXPECT_FALSE(DelaySettings::set({{1, 9, 9, 9}, {7, 9, 9, 9}}));
    EXPECT_EQ("10.0|0", text("select current_max || '|' || (select \"on\" from delays where addr=0 and port=1) "
                             "from alarms where addr=0 and port=0"));
    EXPECT_DOUBLE_EQ(10, device().outputThresholds[0].warnUpperCurrent);
    EXPECT_EQ(0, device().portDelays[1].onDelay);
}

TEST_F(DeviceOperationsTest, UnitLimitsAndTheCascadeAddress)
{
    build();
    const uint8_t recordMask = device().inputThreshold.mask;
    ASSERT_TRUE(UnitThresholdSettings::setInput({0x07, 260, 180, 12, kKeep, 30, 1}));
    EXPECT_EQ("260.0|2147483648.0|30.0",
              text("select voltage_max || '|' || current_min || '|' || outage_max from alarms where port is null"));
    EXPECT_TRUE(Utility::isInvalidDoubleValue(device().inputThreshold.warnLowerCurrent));
    EXPECT_DOUBLE_EQ(20, device().inputThreshold.offUpperCurrent);  // the cut-off pair stays out of the record
    EXPECT_EQ(recordMask, device().inputThreshold.mask);
    ASSERT_TRUE(UnitThresholdSettings::setTempHumi({0x02, 99, 98, 70, 20}));
    EXPECT_EQ("50.0|70.0", text("select temperature_max || '|' || humidity_max from alarms where port is null"));
    EXPECT_DOUBLE_EQ(20, device().tempHumiThreshold.warnLowerHumi);
    ASSERT_TRUE(UnitThresholdSettings::setOne(UnitThresholdSettings::kTempLower, -5.5));
    EXPECT_EQ("-5.5", text("select temperature_min from alarms where port is null"));

    sql("delete from alarms where addr=0 and port is null");
    EXPECT_FALSE(UnitThresholdSettings::setInput({0x01, 1, 1, 1, 1, 1, 1}) ||
                 UnitThresholdSettings::setTempHumi({0x01, 1, 1, 1, 1}) ||
                 UnitThresholdSettings::setOne(UnitThresholdSettings::kCurrentUpper, 1));
    EXPECT_DOUBLE_EQ(260, device().inputThreshold.warnUpperVoltage);

    // The cascade address: 1 to 127 only.
    for (int address : {0, -1, 128, 255, 1 << 20})
        EXPECT_FALSE(CascadeAddressSetting::set(address, true)) << address;
    ASSERT_TRUE(CascadeAddressSetting::set(127, true));
    EXPECT_EQ(0, device().address);  // the master keeps its record
    device().isMaster = false;
    ASSERT_TRUE(CascadeAddressSetting::set(5, true));
    EXPECT_EQ(5, device().address);
    EXPECT_EQ("5", text("select value from settings where name='slave_address'"));
}

TEST_F(DeviceOperationsTest, ClockSetWritesTheHardwareClockAndReArmsTasksAndEnergy)
{
    // Before 2038: the unit's clock is 32 bits wide.
    sql("insert into tasks(ports, action, date, time) values(1, 1, '2035-01-01', '08:00:00')");
    PduServer& s = build();
    test::ClockShift shift;
    ::mkdir(board::path("/bin").c_str(), 0755);
    std::ofstream(board::path("/bin/hwclock")) << "#!/bin/sh\necho \"hwclock $*\" >> \"$RAILBOX_ROOT/hwclock.calls\"\n";
    ::chmod(board::path("/bin/hwclock").c_str(), 0755);
    DeviceClock clock(*s.getScheduledTaskContainer(), *s.getEnergyRecorder());
    test::LogCapture log;
    ASSERT_TRUE(clock.set({2032, 1, 1, 8, 30, 0}));
    EXPECT_NEAR(test::ClockShift::localSeconds(2032, 1, 1, 8, 30, 0), board::wallClockSeconds(), 2);
    EXPECT_EQ(1, DeviceClock::now().month);
    EXPECT_EQ(1, log.count("task stop:") * log.count("cur time,year:2032"));

    log.clear();
    for (const _DeviceDateTime& t : {_DeviceDateTime{INT_MIN, 1, 1, 0, 0, 0}, {INT_MAX, 12, 31, 23, 59, 59},
                                     {2031, 13, 1, 8, 30, 0},
                                     {1960, 1, 1, 0, 0, 0}, {2030, INT_MIN, 1, 0, 0, 0}, {1969, 12, 31, 23, 59, 59},
                                     {2030, 1, INT_MAX, INT_MAX, INT_MAX, INT_MAX}})
        EXPECT_FALSE(clock.set(t)) << t.year << "-" << t.month;
    EXPECT_EQ(2032, DeviceClock::now().year);
    EXPECT_EQ(0, log.count("task stop:") + log.count("cur time"));
    std::ifstream calls(board::path("/hwclock.calls"));
    EXPECT_EQ("hwclock -w\n", std::string(std::istreambuf_iterator<char>(calls), {}));  // once, after the set
}

TEST_F(DeviceOperationsTest, EnergyClearZeroesCountersAndStatisticsButNotReferences)
{
    _DeviceDateTime day = DeviceClock::now();  // statistics far from now are dropped at start
    Utility::prevDay(day.year, day.month, day.day);
    sql("update variable set reference_energy=900, real_energy=500", "energy.db");
    sql("insert into statistics values(0, 5, '" + EnergyDatabase::hourKey(day.year, day.month, day.day, 0) + "')",
        "energy.db");
    PduServer& s = build();
    device().status.outputs[2].energy = device().status.input.energy = 5.0;
    EnergyOperations ops(s.getEnergyDatabase());
    uint32_t mask = 0xFFFFFFFFu;
    EnergyOperations::Series series;
    ASSERT_TRUE(ops.queryStatistics(1, mask, 0, day.year, day.month, day.day, 0, 2, series) && series.size() == 9);
    EXPECT_EQ(0x800000FFu, mask);
    EXPECT_EQ((std::vector<unsigned int>{5, 0xFFFFFFFFu}), series[0]);
    uint64_t wide = 1ull << 40 | 1ull << 3;
    ASSERT_TRUE(ops.queryStatistics(2, wide, 0, day.year, day.month, day.day, 0, 1, series) && wide == 1ull << 3);
    EXPECT_FALSE(ops.queryStatistics(4, mask, 0, day.year, day.month, day.day, 0, 1, series));

    ASSERT_TRUE(ops.clear());
    EXPECT_EQ("0|0", text("select sum(real_energy) || '|' || (select count(*) from statistics) from variable",
                          "energy.db"));
    EXPECT_EQ(900u, device().energy[3].referenceEnergy);
    EXPECT_EQ(0u, device().energy[3].realEnergy + device().energy[_Device::kInletEnergyIndex].realEnergy);
    EXPECT_EQ(0.0, device().status.outputs[2].energy + device().status.input.energy);
    device().energy[1].realEnergy = 42;
    sql("drop table statistics", "energy.db");
    EXPECT_FALSE(ops.clear());
    EXPECT_EQ(42u, device().energy[1].realEnergy);
}

TEST_F(DeviceOperationsTest, ScheduledTasksChangeTheTableFirstAndFireOnTheBoardClock)
{
    PduServer& s = build();
    test::ClockShift shift;
    shift.setLocal(2030, 6, 1, 7, 59, 58);
    ScheduledTaskContainer& tasks = *s.getScheduledTaskContainer();
    ScheduledTaskOperations ops(tasks);
    _DeviceTask task;
    task.ports = 0x2, task.action = 1, task.year = 2030, task.month = 6, task.day = 1, task.hour = 8;
    ASSERT_TRUE(ops.add(task));
    ASSERT_TRUE(tasks.find(task.id) && tasks.find(task.id)->armed());
    EXPECT_TRUE(relaysBecome(0x02, 5));

    _DeviceTask stranger = task;
    stranger.id += 100;
    EXPECT_FALSE(ops.update(stranger));
    task.hour = 9;
    ASSERT_TRUE(ops.update(task));
    EXPECT_EQ("09:00:00", text("select time from tasks where id=" + std::to_string(task.id)));
    EXPECT_TRUE(tasks.find(task.id)->armed());
    EXPECT_FALSE(ops.remove({task.id, task.id + 100}));
    EXPECT_TRUE(tasks.find(task.id) && text("select count(*) from tasks") == "1");
    ASSERT_TRUE(ops.remove({task.id}));
    EXPECT_TRUE(!tasks.find(task.id) && text("select count(*) from tasks") == "0");
}
