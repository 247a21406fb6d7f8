// The cascade line of a unit that is not the master, end to end: bytes from
// the line go to the slave endpoint, which keeps the frames for its address,
// runs the command's processor on the unit's modules (no power module; the
// databases of a fresh board) and writes the answer on the line.
//
// Byte 0 picks the outlet count (bits 0-1: 8, 16, 32 or 48). Then chunks: a
// control byte, a 16-bit big-endian length and that many bytes. Control bit
// 7 clear: the bytes go to the line as they are. Set: they are the payload
// of a well-formed frame to this unit (bit 6: to the next address), sent in
// two pieces cut at bits 0-5 (0: whole). Every answer must be one whole
// frame from this unit with the request's sequence (and, for a framed
// request, its code).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "EnergyDatabase.h"
#include "EnergyRecorder.h"
#include "FuzzLine.h"
#include "FuzzSeededBoard.h"
#include "FuzzSplit.h"
#include "GlobalData.h"
#include "PingTaskContainer.h"
#include "PowerModuleContainer.h"
#include "ScheduledTaskContainer.h"
#include "cascade/parser/CascadeCtrlPacketBuilder.h"
#include "cascade/parser/CascadeCtrlPacketParser.h"
#include "cascade/processor/CascadeCtrlSlaveProcessorFactory.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"
#include "muduo/net/EventLoop.h"

namespace
{
using namespace CascadeCtrl;

const int kAddress = 5;
const int kPortCounts[4] = {8, 16, 32, 48};

struct Harness
{
    Harness()
    {
        fuzz::useSeededBoard();
        energy = std::make_unique<EnergyDatabase>();
        line = std::make_unique<fuzz::FuzzLine>(&loop);
        checker = std::make_unique<CascadeCtrlPacketParser>(&loop);
        _Device& device = GlobalData::getDevice();
        device.isMaster = false;
        device.address = kAddress;
        record = device;
    }

    // The outcome of one chunk: nothing, or one answer frame from this unit.
    void check(int sequence, int code)
    {
        const std::string out = line->take();
        if (out.empty())
            return;
        muduo::net::Buffer payload;
        int address = -1, seq = -1;
        if (checker->parse(out.data(), static_cast<int>(out.size()), address, seq, payload) != 0 ||
            out.size() != CascadeCtrlPacketBuilder::kHeaderLength + payload.readableBytes() || address != kAddress ||
            (sequence >= 0 && seq != sequence) || payload.readableBytes() == 0 ||
            (code >= 0 && static_cast<uint8_t>(*payload.peek()) != code))
            __builtin_trap();
    }

    muduo::net::EventLoop loop;
    std::unique_ptr<EnergyDatabase> energy;
    std::unique_ptr<fuzz::FuzzLine> line;
    std::unique_ptr<CascadeCtrlPacketParser> checker;
    _Device record;
};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Harness* harness = new Harness;
    if (size == 0)
        return 0;
    fuzz::resetBoardClock();
    _Device& device = GlobalData::getDevice();
    device = harness->record;
    device.portCount = kPortCounts[data[0] & 3];

    MgrCtrl::MgrCtrlModules modules = fuzz::seededModules(&harness->loop, *harness->energy);
    bool tasksAdded = false;
    {
        CascadeCtrlSlaveProcessorFactory factory(&harness->loop, harness->line->port(), modules);
        factory.start();
        CascadeCtrlPacketBuilder builder;
        int sequence = 0;
        fuzz::forEachRecord(data + 1, size - 1, [&](uint8_t control, const char* bytes, size_t n) {
            if (!(control & 0x80))
            {
                factory.processCascadeCtrlPacket(bytes, static_cast<int>(n));
                harness->check(-1, -1);
                return;
            }
            muduo::net::Buffer payload, frame;
            payload.append(bytes, n);
            builder.buildPacket(frame, kAddress + ((control & 0x40) ? 1 : 0), ++sequence, payload);
            const size_t cut = std::min<size_t>(control & 0x3F, frame.readableBytes());
            if (cut > 0)
                factory.processCascadeCtrlPacket(frame.peek(), static_cast<int>(cut));
            factory.processCascadeCtrlPacket(frame.peek() + cut, static_cast<int>(frame.readableBytes() - cut));
            harness->check(sequence & 0xFFFF, n > 0 ? static_cast<uint8_t>(bytes[0]) : -1);
        });
        tasksAdded = modules.scheduledTasks->size() > 0;
    }
    modules = MgrCtrl::MgrCtrlModules();
    fuzz::settle(harness->loop, tasksAdded);
    return 0;
}
