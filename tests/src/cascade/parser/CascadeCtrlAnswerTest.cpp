// Every command's answer struct reads its golden answer and writes it again
// byte for byte, and no cut of it as more than it holds (one loop over codes
// 1 to 43; the requests' round trips are with their golden payloads); a
// task list longer than its count field can say; then the readers' view of
// the layouts the master depends on, and the lists whose count claims more
// records than follow.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <set>

#include "Utility.h"
#include "cascade/parser/CascadeCtrlCommandTypes.h"
#include "muduo/net/Buffer.h"
#include "support/FakeMaster.h"

namespace
{
using namespace CascadeCtrl;
using test::Bytes;
using test::field16;
using test::fromHex;

std::string hex32(uint32_t v)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08X", v);
    return text;
}

template <class T>
bool readAll(const Bytes& bytes, T& out)
{
    muduo::net::WireReader r(bytes.data(), bytes.size());
    return out.read(r) && r.remaining() == 0;
}

const std::string kUid = field16("G020300000000001");
const std::string kFirmware = " 312E302E300000000000";
const std::string kRecord = "7F000001 0A 03 02 01";

template <class Answer>
Bytes written(const std::vector<_DeviceTask>& tasks)
{
    Answer answer;
    answer.tasks = tasks;
    muduo::net::Buffer out;
    muduo::net::WireWriter w(out);
    answer.write(w);
    return Bytes(out.peek(), out.peek() + out.readableBytes());
}
}

TEST(CascadeCtrlAnswerTest, EveryAnswerReadsBackWhatWasWritten)
{
    const std::string answers[] = {
        "01 00" + kUid + "80000001" + field16("Outlet1") + field16("PDU") + "07 09C4 076C 0640 0000 07D0 0000" +
            kFirmware,
        "01 01",
        "02 01 000000FF",
        "03 00 80000001" + field16("A") + field16("PDU"),
        "04 01",
        "05 00 01 0A01A8C0 00FFFFFF 0101A8C0 00 020000000001" + field16("ABC") + "0050 01BB 01 22BA",
        "06 00",
        "07 00 07 00000105 FFCA 8000 08FC 0096 00000D7A 0062 000004E2 00000004 08FC FFFF 00000000 0000 000000C8",
        "07 01",
        "08 02 03E8 0000 0640 0000 FFFF FFFF FFFF FFFF",
        "09 00 00000001",
        "0A 03 09C4 076C 0640 0000",
        "0B 00 01 09C4 076C",
        "0C 03 FF38 0064 0384 8000",
        "0D 00 03",
        "0E 02 0005 0000 FFFF 0000 0000 0005",
        "0F 00 00000005",
        "10 0001 00000001 00000003 01 1A0C05081E00 3E" + field16("wake"),
        "10 0000",
        "11 00 00000001",
        "12 01",
        "13 00",
        "14 00 18021D173B3A",
        "15 01",
        "16 00",
        "17 00",
        "18 0001 00000001 18 05 06 07 08 09 01 FF 03",
        "19 01 80000001 18 06 01 00 02 0000007B FFFFFFFF FFFFFFFF FFFFFFFF",
        "19 01 80000001 18 06 01 00 00",
        "1A 00",
        "1B 00 80000005",
        "1C 01 09",
        "1D 00 03",
        "1E 00 80000005 " + kRecord + "0A000001 C8 05 00 00",
        "1F 00" + kUid + "8000000000000001" + field16("A") + field16("PDU") + "00" + kFirmware,
        "20 00 0000000000000005",
        "21 00 0000000000000006" + field16("") + field16("x"),
        "22 00 8000000000000000" + field16("Unit"),
        "23 00 01 0000000000000105 8000000000000000 0000 0000 00000000 0000 00000000",
        "24 00 0000000000000002",
        "25 01",
        "26 0001 00000003 0000000000000001 01 1B0101000000 00" + field16("abcdefghijklmn\xE4\xB8"),
        "27 00 00000002",
        "28 00 00000002",
        "29 04 00000000",
        "2A 00 0000000000000002",
        "2B 00 8000000000000002 " + kRecord,
    };
    std::set<int> codes;
    for (const std::string& answer : answers)
    {
        const Bytes payload = fromHex(answer);
        EXPECT_TRUE(test::answerReadsBack(payload)) << answer;
        codes.insert(payload.at(0));
    }
    EXPECT_EQ(size_t(CascadeCtrlCommand::kLast), codes.size());
}

TEST(CascadeCtrlAnswerTest, ATaskListLongerThanItsCountCanSayIsCutToTheCount)
{
    _DeviceTask task;
    task.id = 5, task.ports = 0x100000003ull, task.action = 1, task.year = 2031, task.month = 12, task.day = 25;
    task.hour = 8, task.minute = 30, task.repeat = 0x41, task.remark = "a";
    std::vector<_DeviceTask> tasks(0x10000, task);
    tasks.back().id = 6;  // the one cut off
    const struct
    {
        const char* name;
        Bytes (*write)(const std::vector<_DeviceTask>&);
        std::string record;
    } rows[] = {
        {"32-bit", written<CascadeCtrlTaskListData<uint32_t, true>>,
         "00000005 00000003 01 1F0C19081E00 41" + field16("a")},
        {"64-bit", written<CascadeCtrlTaskListData<uint64_t, false>>,
         "00000005 0000000100000003 01 1F0C19081E00 41" + field16("a")},
    };
    for (const auto& row : rows)
    {
        Bytes expected = fromHex("FFFF");
        const Bytes record = fromHex(row.record);
        for (size_t i = 0; i < 0xFFFF; ++i)
            expected.insert(expected.end(), record.begin(), record.end());
        const Bytes got = row.write(tasks);
        EXPECT_EQ(expected.size(), got.size()) << row.name;
        EXPECT_TRUE(expected == got) << row.name;
    }
}

TEST(CascadeCtrlAnswerTest, ReadersTakeTheLayoutsApart)
{
    CascadeCtrlEnergyData<uint32_t> energy;
    ASSERT_TRUE(readAll(fromHex("04 00000000"), energy));
    EXPECT_FALSE(energy.done);
    EXPECT_FALSE(readAll(fromHex("04 00000001"), energy));
    ASSERT_TRUE(readAll(fromHex("01 80000001 18 06 01 17 02 00000001 FFFFFFFF 00000002 00000003"), energy));
    EXPECT_EQ(CascadeCtrlEnergyData<uint32_t>::Series({{1, 0xFFFFFFFF}, {2, 3}}), energy.series);
    EXPECT_FALSE(readAll(fromHex("01 80000001 18 06 01 17 02 00000001"), energy));  // half a series

    CascadeCtrlLogListData logs;
    ASSERT_TRUE(readAll(fromHex("0001 00000007 18 05 06 07 08 09 03 FF 02"), logs));
    EXPECT_EQ(-1, logs.logs.at(0).port);

    CascadeCtrlNetworkAnswer network;
    ASSERT_TRUE(readAll(fromHex("00 01 0A01A8C0 00FFFFFF 0101A8C0 00 020000000001" + field16("ABC") + "0050 01BB 01 22BA"),
                        network));
    const _DeviceNetwork& eth0 = network.data.setting.networks.at(0);
    EXPECT_EQ("C0A8010A FFFFFF00 C0A80101", hex32(eth0.ip) + " " + hex32(eth0.mask) + " " + hex32(eth0.gateway));

    // A count beyond the records that came is refused, the list kept.
    CascadeCtrlTaskListData<uint32_t, true> tasks;
    const std::string task = "00000001 00000003 01 1A0C05081E00 3E" + field16("wake");
    ASSERT_TRUE(readAll(fromHex("0001" + task), tasks));
    EXPECT_FALSE(readAll(fromHex("FFFF" + task), tasks));
    EXPECT_FALSE(readAll(fromHex("0002" + task), tasks));
    EXPECT_EQ(1u, tasks.tasks.size());

    CascadeCtrlPingListAnswer<uint32_t> pings;
    ASSERT_TRUE(readAll(fromHex("00 80000004 7F000001 C8 03 02 01"), pings));
    EXPECT_EQ(200u, pings.data.settings.at(2).interval);

    CascadeCtrlDeviceStatusAnswer<uint32_t> status;
    ASSERT_TRUE(readAll(fromHex("00 02 FFCA 8000 80000000 FFFF FFFF 00000000 0000 00000000"), status));
    EXPECT_DOUBLE_EQ(-5.4, status.data.temperature);
    EXPECT_TRUE(Utility::isInvalidDoubleValue(status.data.humidity));
    EXPECT_TRUE(Utility::isInvalidDoubleValue(status.data.outlets.at(31).voltage));
    EXPECT_FALSE(readAll(fromHex("01 02"), status));  // a failed answer ends after its status

    CascadeCtrlDeviceInfoAnswer<uint64_t> info;
    ASSERT_TRUE(readAll(fromHex("00" + kUid + "8000000000000001" + field16("A") + field16("PDU") + "00" + kFirmware),
                        info));
    EXPECT_EQ("A", info.data.names.names.at(0));
    EXPECT_EQ("PDU", info.data.names.names.at(-1));
    EXPECT_EQ("1.0.0", info.data.firmware);
}

namespace
{
// The growth of the peak resident size while fn runs, in kB; -1 where it
// cannot be measured (the sanitizer's allocator keeps freed memory).
long peakGrowthKb(const std::function<void()>& fn)
{
#if defined(__SANITIZE_ADDRESS__)
    fn();
    return -1;
#else
    auto peak = [] {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);)
            if (line.compare(0, 6, "VmHWM:") == 0)
                return std::stol(line.substr(6));
        return -1L;
    };
    std::ofstream reset("/proc/self/clear_refs");  // "5": the peak restarts at the present size
    reset << "5" << std::flush;
    const long before = peak();
    fn();
    return reset && before >= 0 ? peak() - before : -1;
#endif
}

template <class T>
std::function<bool()> reads(const std::string& hex)
{
    return [hex] {
        T list;
        return readAll(fromHex(hex), list);
    };
}
}

TEST(CascadeCtrlAnswerTest, ACountClaimingMoreRecordsThanFollowIsRefusedBeforeAnyIsMade)
{
    const std::string task = "00000001 00000003 01 1A0C05081E00 3E" + field16("wake");
    const std::pair<const char*, std::function<bool()>> lists[] = {
        {"tasks", reads<CascadeCtrlTaskListData<uint32_t, true>>("FFFF " + task)},
        {"tasks ext", reads<CascadeCtrlTaskListData<uint64_t, false>>("0002 00000001 0000000000000003 01 1A0C05081E00 3E" +
                                                                        field16("wake"))},
        {"network", reads<CascadeCtrlNetworkAnswer>("00 FF 0A01A8C0 00FFFFFF 0101A8C0 00 020000000001" + field16("ABC") +
                                                    "0050 01BB 01 22BA")},
        {"log", reads<CascadeCtrlLogListData>("FFFF 00000007 18 05 06 07 08 09 03 FF 02")},
        {"limits", reads<CascadeCtrlOutputThresholdListData>("FF 03E8 0000 0640 0000")},
        {"delays", reads<CascadeCtrlPortDelayListData>("FF 0005 0000 FFFF")},
        {"task ids", reads<CascadeCtrlDeleteScheduledTaskRequest>("FFFF 00000001")},
    };
    for (const auto& list : lists)
        EXPECT_FALSE(list.second()) << list.first;

    // 65535 tasks would take megabytes before the second record was missed.
    const auto tasks = reads<CascadeCtrlTaskListData<uint32_t, true>>("FFFF " + task);
    const long growth = peakGrowthKb([&] {
        for (int i = 0; i < 4; ++i)
            EXPECT_FALSE(tasks());
    });
    if (growth < 0)
        GTEST_SKIP() << "peak memory not measured here";
    EXPECT_LT(growth, 1024) << "kB";
}
