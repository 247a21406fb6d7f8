// Feeds arbitrary serial bytes, in arbitrary chunks, through the cascade
// frame reassembler, and every whole input through the frame check. Every
// payload, and the input itself, is read by the request struct of its code;
// what a struct reads it must write in a form it reads again.
#include <cstddef>
#include <cstdint>

#include "FuzzSplit.h"
#include "cascade/parser/CascadeCtrlCommand.h"
#include "cascade/parser/CascadeCtrlPacketParser.h"
#include "cascade/parser/CascadeCtrlRequests.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"
#include "muduo/net/EventLoop.h"

namespace
{
using namespace CascadeCtrl;

template <class Request>
void readBack(const uint8_t* data, size_t size)
{
    Request request;
    muduo::net::WireReader r(data, size);
    if (!request.read(r))
        return;
    muduo::net::Buffer bytes;
    muduo::net::WireWriter w(bytes);
    request.write(w);
    Request again;
    muduo::net::WireReader back(bytes);
    if (!again.read(back) || back.remaining() != 0)
        __builtin_trap();
}

// A payload from its code byte on.
void readRequest(const uint8_t* data, size_t size)
{
    if (size == 0)
        return;
    const uint8_t* p = data + 1;
    const size_t n = size - 1;
    typedef CascadeCtrlCommand C;
    switch (data[0])
    {
    case C::kOperatePort: return readBack<CascadeCtrlOperatePortRequest<uint32_t>>(p, n);
    case C::kOperatePortExt: return readBack<CascadeCtrlOperatePortRequest<uint64_t>>(p, n);
    case C::kQueryName: case C::kQueryPing: return readBack<CascadeCtrlOutletMaskRequest<uint32_t>>(p, n);
    case C::kQueryNameExt: case C::kQueryPingExt: return readBack<CascadeCtrlOutletMaskRequest<uint64_t>>(p, n);
    case C::kSetName: return readBack<CascadeCtrlSetNameRequest<uint32_t>>(p, n);
    case C::kSetNameExt: return readBack<CascadeCtrlSetNameRequest<uint64_t>>(p, n);
    case C::kSetNetwork: return readBack<CascadeCtrlSetNetworkRequest>(p, n);
    case C::kQueryDeviceStatus: return readBack<CascadeCtrlQueryDeviceStatusRequest<uint32_t>>(p, n);
    case C::kQueryDeviceStatusExt: return readBack<CascadeCtrlQueryDeviceStatusRequest<uint64_t>>(p, n);
    case C::kSetOutputThreshold: return readBack<CascadeCtrlSetOutputThresholdRequest<uint32_t>>(p, n);
    case C::kSetOutputThresholdExt: return readBack<CascadeCtrlSetOutputThresholdRequest<uint64_t>>(p, n);
    case C::kQueryInputThreshold: case C::kQueryTempHumThreshold:
        return readBack<CascadeCtrlPairSelectionRequest>(p, n);
    case C::kSetInputThreshold: return readBack<CascadeCtrlSetInputThresholdRequest>(p, n);
    case C::kSetTempHumThreshold: return readBack<CascadeCtrlSetTempHumThresholdRequest>(p, n);
    case C::kSetPortDelay: return readBack<CascadeCtrlSetPortDelayRequest<uint32_t>>(p, n);
    case C::kSetPortDelayExt: return readBack<CascadeCtrlSetPortDelayRequest<uint64_t>>(p, n);
    case C::kQueryScheduledTask: case C::kQueryScheduledTaskExt:
        return readBack<CascadeCtrlQueryScheduledTaskRequest>(p, n);
    case C::kAddScheduledTask: return readBack<CascadeCtrlAddScheduledTaskRequest<uint32_t>>(p, n);
    case C::kAddScheduledTaskExt: return readBack<CascadeCtrlAddScheduledTaskRequest<uint64_t>>(p, n);
    case C::kUpdateScheduledTask: return readBack<CascadeCtrlUpdateScheduledTaskRequest<uint32_t>>(p, n);
    case C::kUpdateScheduledTaskExt: return readBack<CascadeCtrlUpdateScheduledTaskRequest<uint64_t>>(p, n);
    case C::kDeleteScheduledTask: return readBack<CascadeCtrlDeleteScheduledTaskRequest>(p, n);
    case C::kSetTime: return readBack<CascadeCtrlSetTimeRequest>(p, n);
    case C::kQueryLog: return readBack<CascadeCtrlQueryLogRequest>(p, n);
    case C::kQueryEnergy: return readBack<CascadeCtrlQueryEnergyRequest<uint32_t>>(p, n);
    case C::kQueryEnergyExt: return readBack<CascadeCtrlQueryEnergyRequest<uint64_t>>(p, n);
    case C::kSetNewAddr: return readBack<CascadeCtrlSetNewAddrRequest>(p, n);
    case C::kSetPing: return readBack<CascadeCtrlSetPingRequest<uint32_t>>(p, n);
    case C::kSetPingExt: return readBack<CascadeCtrlSetPingRequest<uint64_t>>(p, n);
    case C::kTestPing: return readBack<CascadeCtrlTestPingRequest>(p, n);
    case C::kTestPingStatus: return readBack<CascadeCtrlTestPingStatusRequest>(p, n);
    default: return readBack<CascadeCtrlEmptyRequest>(p, n);
    }
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static muduo::net::EventLoop* loop = [] {
        muduo::Logger::setOutput([](const char*, int) {});  // every rejection logs a warning
        return new muduo::net::EventLoop;
    }();
    readRequest(data, size);
    CascadeCtrl::CascadeCtrlPacketParser parser(loop);
    int address = 0, sequence = 0;
    parser.checkPacket(reinterpret_cast<const char*>(data), static_cast<int>(size), address, sequence);
    // Each chunk: one control byte (length in the low 6 bits), then the bytes.
    fuzz::forEachChunk(data, size, 0x3F, [&](uint8_t, const uint8_t* bytes, size_t n) {
        muduo::net::Buffer payload;
        if (parser.parse(reinterpret_cast<const char*>(bytes), static_cast<int>(n), address, sequence, payload) == 0)
            readRequest(reinterpret_cast<const uint8_t*>(payload.peek()), payload.readableBytes());
    });
    return 0;
}
