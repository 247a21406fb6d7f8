// Every request payload writer against golden bytes, each payload read back
// by its request struct (as the slave reads it) and written again, and every
// truncation refused.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "Utility.h"
#include "cascade/parser/CascadeCtrlPacketBuilder.h"
#include "muduo/net/Buffer.h"
#include "support/TestFrames.h"

namespace
{
using namespace CascadeCtrl;
using test::Bytes;
typedef CascadeCtrlPacketBuilder B;
const double kInvalid = Utility::kInvalidDoubleValue;

Bytes bytesOf(const muduo::net::Buffer& b) { return Bytes(b.peek(), b.peek() + b.readableBytes()); }

Bytes hex(const std::string& text)
{
    Bytes out;
    for (size_t i = 0; i + 1 < text.size();)
        if (text[i] == ' ')
            ++i;
        else
            out.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16))), i += 2;
    return out;
}

// A 16-byte text field.
Bytes field(const std::string& text)
{
    Bytes out(text.begin(), text.begin() + std::min<size_t>(text.size(), 16));
    out.resize(16, 0);
    return out;
}

Bytes cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

struct Row
{
    std::string name;
    Bytes built;
    Bytes expected;
    // Reads the payload after its code byte; the payload written again, or
    // "<refused>" as the only byte when the read fails or leaves bytes over.
    std::function<Bytes(const Bytes&)> again;
};

template <class R>
Row row(const std::string& name, void (*build)(muduo::net::Buffer&, const R&), const R& request, const Bytes& expected)
{
    muduo::net::Buffer b;
    b.append("x", 1);  // writers append behind what is there
    build(b, request);
    b.retrieve(1);
    return {name, bytesOf(b), expected, [build](const Bytes& payload) {
                muduo::net::WireReader r(payload.data() + 1, payload.size() - 1);
                R back;
                if (!back.read(r) || r.remaining() != 0)
                    return Bytes{0xEE};
                muduo::net::Buffer out;
                build(out, back);
                return bytesOf(out);
            }};
}

_DeviceOutputThreshold limits(int port, double a, double b, double c, double d) { return {port, a, b, c, d}; }
_DevicePortDelay delay(int port, int on, int off, int restart) { return {port, on, off, restart}; }
PingSetting ping(uint32_t ip, uint32_t interval, uint32_t timeout, int action, int enabled)
{
    return {0, ip, interval, timeout, action, enabled};
}

std::vector<Row> goldenRows()
{
    const CascadeCtrlEmptyRequest none;
    CascadeCtrlOperatePortRequest<uint32_t> op{0xA5, 0x102};
    CascadeCtrlOperatePortRequest<uint64_t> opExt{(1ull << 32) | 1, 1};
    CascadeCtrlSetNameRequest<uint32_t> names;
    names.names = {{2, "B"}, {40, "X"}, {0, "A"}, {-1, "Unit"}};
    CascadeCtrlSetNameRequest<uint64_t> namesExt;
    namesExt.names = {{0, "twenty bytes of name"}, {62, ""}, {63, "dropped"}, {-1, "0123456789abcdef"}};
    CascadeCtrlSetNetworkRequest net;
    _DeviceNetwork eth0;
    eth0.ip = 0xC0A8010A, eth0.mask = 0xFFFFFF00, eth0.gateway = 0xC0A80101;
    const char mac[6] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    std::copy(mac, mac + 6, eth0.mac);
    eth0.netbiosName = "ABC", eth0.httpPort = 80, eth0.httpsPort = 443, eth0.enableRedirect = 1;
    net.setting.networks = {eth0};
    CascadeCtrlSetOutputThresholdRequest<uint32_t> out;
    out.setting.thresholds = {limits(2, 9, 9, 9, 9), limits(0, 16.0, 0, 0, 0), limits(31, 1, 1, 1, 1),
                              limits(2, 1.0, 0.5, kInvalid, 0.29)};
    CascadeCtrlSetOutputThresholdRequest<uint64_t> outExt;
    outExt.setting.thresholds = {limits(40, 0.01, 0.02, 0.03, 0.04)};
    CascadeCtrlSetInputThresholdRequest in;
    in.threshold = {0x05, 250.0, 180.5, 7, 7, 16.0, kInvalid};
    CascadeCtrlSetTempHumThresholdRequest humi, none2, temps;
    humi.threshold = {0x02, 1, 1, 80.0, 20.0};
    temps.threshold = {0x03, -10.0, 25.05, kInvalid, 1e9};
    CascadeCtrlSetTempHumThresholdRequest wild;
    wild.threshold = {0x01, std::nan(""), -1e300, 0, 0};
    CascadeCtrlSetPortDelayRequest<uint32_t> delays;
    delays.delays = {delay(1, 5, 0, -1), delay(35, 1, 1, 1), delay(0, 70000, 1, 2), delay(1, 7, 8, 9),
                     delay(-3, 1, 1, 1)};
    CascadeCtrlSetPortDelayRequest<uint64_t> delaysExt;
    delaysExt.delays = {delay(63, 1, 1, 1), delay(62, 1, -1, 3)};
    CascadeCtrlQueryScheduledTaskRequest query, queryExt;
    queryExt.end = {2030, 12, 31, 23, 59, 59};
    _DeviceTask task;
    task.ports = (1ull << 40) | 2, task.action = 1, task.year = 2024, task.month = 12, task.day = 5, task.hour = 8;
    task.minute = 30, task.second = 0, task.repeat = 0x3E, task.remark = "wake";
    _DeviceTask change;
    change.id = 7, change.ports = 1, change.action = 5, change.year = 2030, change.month = 1, change.day = 2;
    change.hour = 3, change.minute = 4, change.second = 5, change.remark = "0123456789abcdefXYZ";
    CascadeCtrlDeleteScheduledTaskRequest noIds, ids;
    ids.ids = {5, 0xFFFFFFFF};
    CascadeCtrlSetTimeRequest time;
    time.time = {2024, 2, 29, 23, 59, 58};
    CascadeCtrlQueryLogRequest log{0, 1999, 1, 1, 2256, 12, 31};
    CascadeCtrlQueryEnergyRequest<uint32_t> energy{1, 0x800000FF, -8, 2024, 6, 1, 300, 24};
    CascadeCtrlQueryEnergyRequest<uint64_t> energyExt{2, (1ull << 63) | 3, 0, 2025, 12, 31, 0, 31};
    CascadeCtrlSetPingRequest<uint32_t> pings;
    pings.settings = {{3, ping(0xC0A8010A, 10, 3, 2, 1)}, {0, ping(0x0A000001, 300, 1, 0, 0)},
                      {31, ping(1, 1, 1, 1, 1)}};
    CascadeCtrlSetPingRequest<uint64_t> pingsExt;
    pingsExt.settings = {{62, ping(0x01020304, 1, 2, 3, 4)}};

    return {
        row("info", B::buildGetDeviceInfoData, none, hex("01")),
        row("info ext", B::buildGetDeviceInfoExtData, none, hex("1F")),
        row("network?", B::buildQueryNetworkData, none, hex("05")),
        row("time?", B::buildQueryTimeData, none, hex("14")),
        row("clear energy", B::buildClearEnergyData, none, hex("16")),
        row("reboot", B::buildRebootData, none, hex("17")),
        row("limits?", B::buildQueryOutputThresholdData, none, hex("08")),
        row("delays?", B::buildQueryPortDelayData, none, hex("0E")),
        row("operate", B::buildOperatePortData, op, hex("02 000000A5 02")),
        row("operate ext", B::buildOperatePortExtData, opExt, hex("20 0000000100000001 01")),
        row("names?", B::buildQueryNameData, CascadeCtrlOutletMaskRequest<uint32_t>{0x80000003}, hex("03 80000003")),
        row("names", B::buildSetNameData, names, cat({hex("04 80000005"), field("A"), field("B"), field("Unit")})),
        row("names ext", B::buildSetNameExtData, namesExt,
            cat({hex("22 C000000000000001"), field("twenty bytes of name"), field(""), field("0123456789abcdef")})),
        row("network", B::buildSetNetworkData, net,
            cat({hex("06 01 0A01A8C0 00FFFFFF 0101A8C0 00 001122334455"), field("ABC"), hex("0050 01BB 01 22BA")})),
        row("no network", B::buildSetNetworkData, CascadeCtrlSetNetworkRequest(), hex("06 00 22BA")),
        row("status?", B::buildQueryDeviceStatusData, CascadeCtrlQueryDeviceStatusRequest<uint32_t>{0xFF, 0xFFFFFFFF},
            hex("07 FF FFFFFFFF")),
        row("status ext?", B::buildQueryDeviceStatusExtData,
            CascadeCtrlQueryDeviceStatusRequest<uint64_t>{0xFF, ~0ull}, hex("23 FF FFFFFFFFFFFFFFFF")),
        row("limits", B::buildSetOutputThresholdData, out, hex("09 00000005 0640000000000000 00640032FFFF001C")),
        row("limits ext", B::buildSetOutputThresholdExtData, outExt, hex("24 0000010000000000 0001000200030004")),
        row("input?", B::buildQueryInputThresholdData, CascadeCtrlPairSelectionRequest{7}, hex("0A 07")),
        row("input", B::buildSetInputThresholdData, in, hex("0B 05 09C4070D 0640FFFF")),
        row("temp-humi?", B::buildQueryTempHumiThresholdData, CascadeCtrlPairSelectionRequest{3}, hex("0C 03")),
        row("humidity", B::buildSetTempHumiThresholdData, humi, hex("0D 02 0320 00C8")),
        row("no pair", B::buildSetTempHumiThresholdData, none2, hex("0D 00")),
        row("temp-humi", B::buildSetTempHumiThresholdData, temps, hex("0D 03 FF9C 00FA 8000 7FFF")),
        row("wild limits", B::buildSetTempHumiThresholdData, wild, hex("0D 01 8000 8001")),
        row("delays", B::buildSetPortDelayData, delays, hex("0F 00000003 1170 0001 0002 0007 0008 0009")),
        row("delays ext", B::buildSetPortDelayExtData, delaysExt, hex("25 4000000000000000 0001 FFFF 0003")),
        row("tasks?", B::buildQueryScheduledTaskData, query, hex("10 FFFFFFFFFFFF FFFFFFFFFFFF")),
        row("tasks ext?", B::buildQueryScheduledTaskExtData, queryExt, hex("26 FFFFFFFFFFFF 1E0C1F173B3B")),
        row("add", B::buildAddScheduledTaskData, CascadeCtrlAddScheduledTaskRequest<uint32_t>{task},
            cat({hex("11 00000002 01 180C05081E00 3E"), field("wake")})),
        row("add ext", B::buildAddScheduledTaskExtData, CascadeCtrlAddScheduledTaskRequest<uint64_t>{task},
            cat({hex("27 0000010000000002 01 180C05081E00 3E"), field("wake")})),
        row("update", B::buildUpdateScheduledTaskData, CascadeCtrlUpdateScheduledTaskRequest<uint32_t>{change},
            cat({hex("12 00000007 00000001 05 1E0102030405 00"), field("0123456789abcdef")})),
        row("update ext", B::buildUpdateScheduledTaskExtData, CascadeCtrlUpdateScheduledTaskRequest<uint64_t>{change},
            cat({hex("28 00000007 0000000000000001 05 1E0102030405 00"), field("0123456789abcdef")})),
        row("delete none", B::buildDeleteScheduledTaskData, noIds, hex("13 0000")),
        row("delete", B::buildDeleteScheduledTaskData, ids, hex("13 0002 00000005 FFFFFFFF")),
        row("set time", B::buildSetTimeData, time, hex("15 18021D173B3A")),
        row("log?", B::buildQueryLogData, log, hex("18 00 FF0101 000C1F")),
        row("energy?", B::buildQueryEnergyData, energy, hex("19 01 800000FF F8 1806012C18")),
        row("energy ext?", B::buildQueryEnergyExtData, energyExt, hex("29 02 8000000000000003 00 190C1F001F")),
        row("new address", B::buildSetNewAddrData, CascadeCtrlSetNewAddrRequest{258}, hex("1A 02")),
        row("ping", B::buildSetPingData, pings, hex("1B 00000009 0A000001 2C010000 C0A8010A 0A030201")),
        row("ping ext", B::buildSetPingExtData, pingsExt, hex("2A 4000000000000000 01020304 01020304")),
        row("ping test", B::buildTestPingData, CascadeCtrlTestPingRequest{3, 0xC0A8010A}, hex("1C 03 C0A8010A")),
        row("ping test?", B::buildTestPingStatusData, CascadeCtrlTestPingStatusRequest{7}, hex("1D 07")),
        row("ping?", B::buildQueryPingData, CascadeCtrlOutletMaskRequest<uint32_t>{0xFF}, hex("1E 000000FF")),
        row("ping ext?", B::buildQueryPingExtData, CascadeCtrlOutletMaskRequest<uint64_t>{(1ull << 63) | 1},
            hex("2B 8000000000000001")),
    };
}
}

TEST(CascadeCtrlPayloadTest, EveryWriterMatchesItsGoldenBytesAndReadsBack)
{
    for (const Row& r : goldenRows())
    {
        EXPECT_EQ(r.expected, r.built) << r.name;
        EXPECT_EQ(r.built, r.again(r.built)) << r.name;
        for (size_t cut = 1; cut < r.built.size(); ++cut)
            ASSERT_EQ(Bytes{0xEE}, r.again(Bytes(r.built.begin(), r.built.begin() + cut))) << r.name << " cut " << cut;
    }
}
