#pragma once
// A filled request and answer struct of every cascade command, with values
// that survive the wires' fixed-point conversions, for round trips and
// truncations. CascadeCtrlCommandTypes<code> names the structs.
#include <string>
#include <utility>

#include "Utility.h"
#include "cascade/parser/CascadeCtrlCommandTypes.h"
#include "muduo/net/Buffer.h"
#include "support/TestFrames.h"

namespace test
{
namespace cascade
{
using namespace CascadeCtrl;

inline _DeviceNetwork network(uint32_t ip, const std::string& name)
{
    _DeviceNetwork n;
    n.ip = ip, n.mask = 0xFFFFFF00, n.gateway = (ip & 0xFFFFFF00) | 1, n.dhcp = 1;
    const char mac[6] = {0x02, 0x00, 0x00, 0x00, 0x00, 0x01};
    std::copy(mac, mac + 6, n.mac);
    n.netbiosName = name, n.httpPort = 80, n.httpsPort = 443, n.enableRedirect = 1;
    return n;
}
inline _DeviceTask task(int id, uint64_t ports, int year, const std::string& remark)
{
    _DeviceTask t;
    t.id = id, t.ports = ports, t.action = 5, t.year = year, t.month = 12, t.day = 5, t.hour = 8, t.minute = 30;
    t.second = 59, t.repeat = 0x3E, t.remark = remark;
    return t;
}
inline PingSetting ping(uint32_t ip, uint32_t interval, int enabled)
{
    PingSetting s;
    s.ip = ip, s.interval = interval, s.timeout = 3, s.action = 2, s.enabled = enabled;
    return s;
}

inline void fill(CascadeCtrlEmptyRequest&) {}
inline void fill(CascadeCtrlPairSelectionRequest& r) { r.mask = 0x03; }
inline void fill(CascadeCtrlTestPingStatusRequest& r) { r.port = 200; }
inline void fill(CascadeCtrlTestPingRequest& r) { r.port = 3, r.ip = 0xC0A8010A; }
inline void fill(CascadeCtrlSetNewAddrRequest& r) { r.address = -5; }
inline void fill(CascadeCtrlSetTimeRequest& r) { r.time = {2024, 2, 29, 23, 59, 58}; }
inline void fill(CascadeCtrlQueryLogRequest& r) { r = {3, 2024, 1, 2, 2025, 12, 31}; }
inline void fill(CascadeCtrlTaskIdData& r) { r.id = 0x80000001; }
inline void fill(CascadeCtrlDeleteScheduledTaskRequest& r) { r.ids = {5, 0xFFFFFFFF}; }
inline void fill(CascadeCtrlQueryScheduledTaskRequest& r) { r.end = {2030, 12, 31, 23, 59, 59}; }
inline void fill(CascadeCtrlSetNetworkRequest& r) { r.setting.networks = {network(0xC0A8010A, "ABC")}; }
inline void fill(CascadeCtrlNetworkListData& r)
{
    r.setting.networks = {network(0xC0A8010A, "0123456789abcdef"), network(0x0A000001, "")};
    r.setting.manageControlPort = 8890;
}
inline void fill(CascadeCtrlSetInputThresholdRequest& r) { r.threshold = {0x07, 250.0, 190.0, 16.0, 0.5, 20.0, 0}; }
inline void fill(CascadeCtrlInputThresholdData& r) { r.threshold = {0x03, 250.0, 190.0, 16.0, 0.5, 0, 0}; }
inline void fill(CascadeCtrlSetTempHumThresholdRequest& r)
{
    r.threshold = {0x03, -20.0, Utility::kInvalidDoubleValue, 90.0, 45.5};
}
inline void fill(CascadeCtrlOutputThresholdListData& r)
{
    r.thresholds = {{0, 10.0, 0, 16.0, 0}, {1, 0.5, 0.25, Utility::kInvalidDoubleValue, 1.0}};
}
inline void fill(CascadeCtrlPortDelayListData& r) { r.delays = {{0, 0, 0, 5}, {1, 5, -1, 65534}}; }
inline void fill(CascadeCtrlLogListData& r)
{
    _SystemLogItem a, b;
    a.id = 7, a.year = 2024, a.month = 5, a.day = 6, a.hour = 7, a.minute = 8, a.second = 9, a.type = 3, a.desc = 2;
    b = a, b.id = 8, b.port = 7;
    r.logs = {a, b};
}

template <typename M>
void fill(CascadeCtrlOperatePortRequest<M>& r)
{
    r.mask = static_cast<M>(MaskTraits<M>::kTopBit | 0xA5), r.action = 2;
}
template <typename M>
void fill(CascadeCtrlOutletMaskRequest<M>& r)
{
    r.mask = static_cast<M>(MaskTraits<M>::kTopBit | 5);
}
template <typename M>
void fill(CascadeCtrlSetNameRequest<M>& r)
{
    r.names = {{0, "Outlet one"}, {3, "0123456789abcdef"}, {-1, "Rack"}};
}
template <typename M>
void fill(CascadeCtrlQueryDeviceStatusRequest<M>& r)
{
    r.parts = 0x07, r.mask = static_cast<M>(~M(0));
}
template <typename M>
void fill(CascadeCtrlSetOutputThresholdRequest<M>& r)
{
    r.setting.thresholds = {{0, 10.0, 0, 16.0, 0}, {2, 0.5, 0.25, Utility::kInvalidDoubleValue, 1.0}};
}
template <typename M>
void fill(CascadeCtrlSetPortDelayRequest<M>& r)
{
    r.delays = {{0, 0, 0, 5}, {2, 5, -1, 10}};
}
template <typename M, bool kWithId>
void fill(CascadeCtrlTaskRequest<M, kWithId>& r)
{
    r.task = task(kWithId ? 9 : 0, 3, 2026, "wake");
}
template <typename M>
void fill(CascadeCtrlQueryEnergyRequest<M>& r)
{
    r = {2, static_cast<M>(MaskTraits<M>::kTopBit | 3), -8, 2024, 6, 1, 23, 24};
}
template <typename M>
void fill(CascadeCtrlSetPingRequest<M>& r)
{
    r.settings = {{0, ping(0x7F000001, 10, 1)}, {2, ping(0x0A000001, 200, 0)}};
}
template <typename M>
void fill(CascadeCtrlDeviceInfoData<M>& r)
{
    r.uid = "G020300000000001", r.firmware = "1.0.0-rc.12";
    r.names.names = {{0, "Outlet1"}, {1, ""}, {-1, "PDU"}};
    fill(r.inputThreshold);
}
template <typename M>
void fill(CascadeCtrlDeviceStatusData<M>& r)
{
    r.parts = 0x07, r.states = static_cast<M>(MaskTraits<M>::kTopBit | 5), r.temperature = -5.5, r.humidity = 45.5;
    r.inlet = {230.0, 1.5, 345.0, 0.98, 12.5};
    r.outlets = {{0, {230.0, Utility::kInvalidDoubleValue, 0, 0, 0}}, {MaskTraits<M>::kLastOutlet, {1, 2, 3, 0.5, 4}}};
}
template <typename M, bool kNormalize>
void fill(CascadeCtrlTaskListData<M, kNormalize>& r)
{
    r.tasks = {task(2, 1, 2030, "0123456789abcdef"), task(1, 6, 1888, "")};
}
template <typename M>
void fill(CascadeCtrlEnergyData<M>& r)
{
    r.type = 3, r.done = true, r.mask = static_cast<M>(MaskTraits<M>::kTopBit | 1);
    r.startYear = 2024, r.startMonth = 6, r.startDay = 1, r.startHour = 0, r.spans = 3;
    r.series = {{1, 2, 3}, {0xFFFFFFFF, 0, 7}};
}
template <typename M>
void fill(CascadeCtrlPingListData<M>& r)
{
    r.mask = MaskTraits<M>::kTopBit;
    r.settings = {{1, ping(0x7F000001, 10, 1)}, {MaskTraits<M>::kWidth - 2, ping(1, 255, 0)}};
}
template <class Data, bool kDataAlways>
void fill(CascadeCtrlStatusAnswer<Data, kDataAlways>& r)
{
    fill(r.data);
}
template <int kCode, class F>
void sampleRequest(F& f)
{
    typename CascadeCtrlCommandTypes<kCode>::Request request;
    fill(request);
    muduo::net::Buffer payload;
    muduo::net::WireWriter w(payload);
    w.u8(static_cast<uint8_t>(kCode));
    request.write(w);
    f(kCode, Bytes(payload.peek(), payload.peek() + payload.readableBytes()));
}
template <class F, int... kIndex>
void sampleRequests(F& f, std::integer_sequence<int, kIndex...>)
{
    (sampleRequest<CascadeCtrlCommand::kFirst + kIndex>(f), ...);
}
// f(code, payload) with the filled request of every command, code byte first.
template <class F>
void forEachRequest(F f)
{
    sampleRequests(f, std::make_integer_sequence<int, CascadeCtrlCommand::kLast - CascadeCtrlCommand::kFirst + 1>());
}
}
}
