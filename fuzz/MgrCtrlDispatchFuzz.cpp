// The manage-control dispatcher over whole frames on a seeded board: byte 0
// picks the checksum flag (bit 0), the unit's role (bit 1: not the master)
// and a wide unit (bit 2: 48 outlets); the rest is one frame's data.
// Whatever it holds, a request is refused, carried out and answered with one
// well-formed reply frame, or handed on as a relay for a slave that writes
// its payload. Saves reach pdu.db, so the work after them runs too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "GlobalData.h"
#include "SeededBoard.h"
#include "cascade/processor/CascadeCtrlRelay.h"
#include "manage_control/parser/MgrCtrlPacketParser.h"
#include "manage_control/processor/MgrCtrlProcessor.h"
#include "manage_control/processor/MgrCtrlProcessorFactory.h"
#include "muduo/net/Buffer.h"

namespace
{
struct Harness
{
    Harness()
    {
        MgrCtrl::MgrCtrlModules modules;
        modules.powerModules = board.outlets;
        modules.scheduledTasks = board.tasks;
        modules.pingTasks = board.pings;
        modules.energyRecorder = board.recorder;
        modules.energyDatabase = board.energy.get();
        factory = std::make_unique<MgrCtrl::MgrCtrlProcessorFactory>(board.loop(), modules);
        _Device& device = GlobalData::getDevice();
        device.slaves[1].valid = true;
        device.slaves[1].portCount = 8;
        device.slaves[2].portCount = 16;  // not answered yet
        device.slaves[200].valid = true;
        device.slaves[200].portCount = 60;
    }

    fuzz::SeededBoard board;
    std::unique_ptr<MgrCtrl::MgrCtrlProcessorFactory> factory;
};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Harness* harness = new Harness;
    if (size == 0)
        return 0;
    _Device& device = GlobalData::getDevice();
    device.isMaster = (data[0] & 2) == 0;
    device.address = device.isMaster ? 0 : 7;
    device.portCount = (data[0] & 4) ? 48 : 8;
    const size_t slaves = device.slaves.size();

    muduo::net::Buffer request;
    request.append(data + 1, size - 1);
    std::shared_ptr<MgrCtrl::MgrCtrlProcessor> processor;
    const int result = harness->factory->dispatch(request, (data[0] & 1) != 0, processor);
    if (device.slaves.size() != slaves || (result == 0) != (processor == nullptr))
        std::abort();
    if (result == MgrCtrl::MgrCtrlProcessorFactory::kAnswer)
    {
        muduo::net::Buffer reply, back;
        processor->process(reply);
        MgrCtrl::MgrCtrlPacketParser parser(harness->board.loop());
        if (parser.parse(reply.peek(), static_cast<int>(reply.readableBytes()), back) != 0 ||
            parser.getChecksumFlag() != ((data[0] & 1) != 0) || back.readableBytes() == 0 ||
            static_cast<uint8_t>(*back.peek()) != data[1])
            std::abort();
    }
    else if (result == MgrCtrl::MgrCtrlProcessorFactory::kRelay)
    {
        const auto& relay = processor->relay();
        muduo::net::Buffer payload;
        relay->buildRequestData(payload);
        if (payload.readableBytes() == 0 || relay->targetAddress() <= 0 || relay->targetAddress() > 255)
            std::abort();
    }
    processor.reset();
    harness->board.afterInput();
    return 0;
}
