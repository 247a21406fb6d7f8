#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "Utility.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "muduo/net/Buffer.h"
#include "support/TestFrames.h"

using muduo::net::Buffer;
using B = MgrCtrl::MgrCtrlPacketBuilder;

namespace
{
const double kMissing = Utility::kInvalidDoubleValue;
const std::string kOutlet1 = "08 FC 00 32 00 00 04 7E 00 64 00 00 00 E1";
const std::string kRemark15 = " 61 61 61 61 61 61 61 61 61 61 61 61 61 61 61 00";

_DeviceStatus status()
{
    _DeviceStatus s;
    s.onOffMask = 0x8000000000000005ull;
    s.environment = {true, -12.5, 40.5};
    s.input = {230.5, 1.25, 287.5, 0.75, 12.5};
    s.outputs[1] = {1, 0, 230.0, 0.5, 115.0, 1.0, 2.25};
    return s;
}

_DeviceNetworkSetting network()
{
    return {{{0, 0xC0A8010A, 0xFFFFFF00, 0xC0A80101, 1, {0, 0x11, 0x22, 0x33, 0x44, 0x55}, "PDU", 80, 443, 1}}, 8890};
}

_DeviceTask task(const std::string& remark) { return {5, 0x100000003ull, 1, 2031, 12, 25, 8, 30, 0, 0x41, remark}; }
std::string zeros(size_t n) { return " " + test::hexBytes(std::string(n, '\0')); }
std::string times(size_t n, const std::string& hex)
{
    std::string out;
    out.reserve(n * hex.size());
    while (n-- > 0)
        out += hex;
    return out;
}

// One task more than a 16-bit count can say; the one cut off differs.
std::vector<_DeviceTask> tooManyTasks()
{
    std::vector<_DeviceTask> list(0x10000, task("a"));
    list.back().id = 6;
    return list;
}
const std::string kTaskRecord = " 00 00 00 05 00 00 00 03 01 1F 0C 19 08 1E 00 41 61" + zeros(15);
const std::string kTaskExtRecord = " 00 00 00 05 00 00 00 01 00 00 00 03 01 1F 0C 19 08 1E 00 41 61" + zeros(15);

Buffer bytes(const std::string& s)
{
    Buffer b;
    b.append(s);
    return b;
}

// The bytes a builder appends, in hex; what the buffer held must stay.
std::string hex(const std::function<void(Buffer&)>& build)
{
    Buffer out;
    out.append("\xEE", 1);
    build(out);
    const std::string bytes = out.retrieveAllAsString();
    return bytes[0] == '\xEE' ? test::hexBytes(bytes.substr(1)) : "overwritten";
}

// One golden row: a builder call appending to o, and the bytes it appends.
#define ROW(call, golden) {[](Buffer& o) { B::call; }, golden}
const std::pair<std::function<void(Buffer&)>, std::string> kGolden[] = {
    ROW(buildRetPacket(o, true, Buffer()), "A4 01 00 00 00 00 00"),
    ROW(buildRetPacket(o, false, bytes(std::string("\x3D\0\0", 3))), "A4 00 00 00 00 00 03 3D 00 00"),
    ROW(buildRetPacket(o, true, bytes(std::string("\x3D\0\0", 3))), "A4 01 3D 00 00 00 03 3D 00 00"),
    ROW(buildQueryDeviceStatusRetData(o, 3, 0, 7, 2, status()),
        "2F 03 00 07 00 00 00 05 FF 83 01 95 09 01 00 7D 00 00 0B 3B 00 4B 00 00 04 E2 00 00 00 02 " + kOutlet1),
    ROW(buildQueryDeviceStatusRetData(o, 0, 0, 0, 0, status()), "2F 00 00 00 00 00 00 00"),
    ROW(buildQueryDeviceStatusRetData(o, 2, 1, 7, 0xFF, status()), "2F 02 01"),
    ROW(buildQueryDeviceStatusExtRetData(o, 0, 0, 1, (1ull << 63) | 2, status()),
        "4A 00 00 01 80 00 00 00 00 00 00 05 80 00 00 00 00 00 00 02 " + kOutlet1 +
            " FF FF FF FF 00 00 00 00 00 00 00 00 00 00"),
    ROW(buildQueryNameRetData(o, 0, 0, 5, {"Rack-A", "ABCDEFGHIJKLMNOPQRST"}),
        "46 00 00 00 00 00 05 52 61 63 6B 2D 41" + zeros(10) + " 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50"),
    ROW(buildQueryNameRetData(o, 1, 1, 5, {"x"}), "46 01 01"),
    ROW(buildQueryNameExtRetData(o, 1, 0, 1ull << 40, {""}),
        "52 01 00 00 00 01 00 00 00 00 00" + zeros(16)),
    ROW(buildSetNameRetData(o, 0, 0x80000001), "2B 00 80 00 00 01"),
    ROW(buildSetNameExtRetData(o, 1, 0xFF), "48 01"),
    ROW(buildQueryNetworkRetData(o, 0, 0, network()),
        // 192.168.1.10, 255.255.255.0 and 192.168.1.1, their dotted numbers last first.
        "2C 00 00 01 0A 01 A8 C0 00 FF FF FF 01 01 A8 C0 01 00 11 22 33 44 55 50 44 55" + zeros(13) +
            " 00 50 01 BB 01 22 BA"),
    ROW(buildQueryNetworkRetData(o, 0, 1, network()), "2C 00 01"),
    ROW(buildQueryTimeRetData(o, 0, 0, {2024, 6, 30, 23, 59, 58}), "3D 00 00 18 06 1E 17 3B 3A"),
    ROW(buildQueryTimeRetData(o, 0, 1, {2024, 6, 30, 23, 59, 58}), "3D 00 01"),
    ROW(buildQueryLogRetData(o, 0, {{258, 2025, 1, 2, 3, 4, 5, 2, -1, 7}}),
        "41 00 00 01 00 00 01 02 19 01 02 03 04 05 02 FF 07"),
    ROW(buildQueryLogRetData(o, 5, {}), "41 05 00 00"),
    ROW(buildQueryEnergyRetData(o, 0, 0, 2, 0x80000001, 2024, 5, 6, 7, {{1, 2}, {~0u, 3}}),
        "42 00 02 80 00 00 01 18 05 06 07 00 00 00 01 00 00 00 02 FF FF FF FF 00 00 00 03"),
    ROW(buildQueryEnergyExtRetData(o, 0, 0, 1, 1ull << 63, 2024, 1, 1, 0, {{9}}),
        "50 00 01 80 00 00 00 00 00 00 00 18 01 01 00 00 00 00 09"),
    ROW(buildQueryEnergyExtRetData(o, 4, 1, 3, ~0ull, 2024, 1, 1, 0, {{9}}), "50 04 03 00 00 00 00"),
    ROW(buildSetNetworkRetData(o, 1, 0), "2D 01 00"),
    ROW(buildOperatePortRetData(o, 0x105, 0), "2E 05 00"),
    ROW(buildOperatePortExtRetData(o, 200, 1), "49 C8 01"),
    ROW(buildDeleteScheduledTaskRetData(o, 0, 1), "3B 00 01"),
    ROW(buildSetAddressRetData(o, 2, 0), "3C 02 00"),
    ROW(buildSetTimeRetData(o, 0, 0), "3E 00 00"),
    ROW(buildClearEnergyRetData(o, 0, 1), "3F 00 01"),
    ROW(buildRebootRetData(o, 3, 0), "40 03 00"),
    ROW(buildSetInputThresholdRetData(o, 0, 0, 3), "33 00 00 03"),
    ROW(buildSetTempHumiThresholdRetData(o, 0, 1, 2), "35 00 01 02"),
    ROW(buildTestPingRetData(o, 0, 0, -1), "44 00 00 FF"),
    ROW(buildTestPingStatusRetData(o, 2, 1, 7), "45 02 01 07"),
    ROW(buildSetOutputThresholdRetData(o, 0, 0, 0x81), "31 00 00 00 00 00 81"),
    ROW(buildSetOutputThresholdExtRetData(o, 0, 1, 1ull << 63), "4B 00 01 80 00 00 00 00 00 00 00"),
    ROW(buildSetPortDelayRetData(o, 0, 1, 3), "37 00 01 00 00 00 03"),
    ROW(buildSetPortDelayExtRetData(o, 2, 0, 1ull << 32), "4C 02 00 00 00 00 01 00 00 00 00"),
    ROW(buildSetPingRetData(o, 0, 1, 0x0F), "43 00 01 00 00 00 0F"),
    ROW(buildSetPingExtRetData(o, 0, 0, 0xFF), "51 00 00 00 00 00 00 00 00 00 FF"),
    ROW(buildAddScheduledTaskRetData(o, 0, 0, 5), "39 00 00 00 00 00 05"),
    ROW(buildAddScheduledTaskExtRetData(o, 0, 0, 6), "4E 00 00 00 00 00 06"),
    ROW(buildUpdateScheduledTaskRetData(o, 0, 0, 7), "3A 00 00 00 00 00 07"),
    ROW(buildUpdateScheduledTaskExtRetData(o, 3, 1, 7), "4F 03 01"),
    ROW(buildQueryOutputThresholdRetData(o, 0, {{{0, 10.0, 0.5, 16.0, kMissing}}}), "30 00 01 03 E8 00 32 06 40 FF FF"),
    ROW(buildQueryInputThresholdRetData(o, 2, 7, {0, 250.0, 190.5, 10.0, 0.25, 16.0, 0}),
        "32 02 07 09 C4 07 71 03 E8 00 19 06 40 00 00"),
    ROW(buildQueryTempHumiThresholdRetData(o, 0, {3, kMissing, -10.5, 80.0, kMissing}),
        "34 00 03 80 00 FF 97 03 20 80 00"),
    ROW(buildQueryPortDelayRetData(o, 0, {{0, 5, 0, -1}}), "36 00 01 00 05 00 00 FF FF"),
    ROW(buildQueryScheduledTaskRetData(o, 0, {task(std::string(15, 'a') + "\xE2\x82\xAC")}),
        "38 00 00 01 00 00 00 05 00 00 00 03 01 1F 0C 19 08 1E 00 41" + kRemark15),
    ROW(buildQueryScheduledTaskExtRetData(o, 1, {task(std::string(20, 'a'))}),
        "4D 01 00 01 00 00 00 05 00 00 00 01 00 00 00 03 01 1F 0C 19 08 1E 00 41" + kRemark15.substr(0, 45) +
            " 61"),
    ROW(buildQueryScheduledTaskRetData(o, 7, {}), "38 07 00 00"),
    ROW(buildQueryPingRetData(o, 0, 0, 5, {{0, 0xC0A8010A, 200, 3, 2, 1}}),
        "47 00 00 00 00 00 05 C0 A8 01 0A C8 03 02 01"),
    ROW(buildQueryPingRetData(o, 0, 1, 5, {{0, 0xC0A8010A, 200, 3, 2, 1}}), "47 00 01"),
    ROW(buildQueryPingExtRetData(o, 0, 0, 0, {}), "53 00 00 00 00 00 00 00 00 00 00"),
    // A count field never claims fewer records than follow.
    ROW(buildQueryPortDelayRetData(o, 0, std::vector<_DevicePortDelay>(256)), "36 00 FF" + zeros(255 * 6)),
    ROW(buildQueryNetworkRetData(o, 0, 0, {std::vector<_DeviceNetwork>(300), 8890}),
        "2C 00 00 FF" + zeros(255 * 40) + " 22 BA"),
    ROW(buildQueryScheduledTaskRetData(o, 0, tooManyTasks()), "38 00 FF FF" + times(0xFFFF, kTaskRecord)),
    ROW(buildQueryScheduledTaskExtRetData(o, 0, tooManyTasks()), "4D 00 FF FF" + times(0xFFFF, kTaskExtRecord)),
};
}

TEST(MgrCtrlPacketBuilderTest, GoldenAnswers)
{
    for (size_t i = 0; i < sizeof kGolden / sizeof kGolden[0]; ++i)
    {
        const std::string& want = kGolden[i].second;
        const std::string got = hex(kGolden[i].first);
        if (want.size() < 4096)
            EXPECT_EQ(want, got) << "row " << i;
        else  // megabytes of hex would drown the report
            EXPECT_TRUE(want == got) << "row " << i << ": " << got.size() << " hex characters, not " << want.size()
                                     << ", the first difference at "
                                     << std::mismatch(want.begin(), want.end(), got.begin(), got.end()).first -
                                            want.begin();
    }
}
