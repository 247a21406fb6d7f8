// The master's end of the cascade line, end to end: the poll scheduler, the
// relays of manage-control clients, and what comes back on the line matched
// to the request awaited by address and sequence.
//
// Byte 0 picks the slaves of the device record (bits 0-1: the first 1 to 4
// of 1, 2, 3, 200). Then steps: a control byte, a 16-bit big-endian length
// and that many bytes; bits 6-7 of the control byte say what happens:
//   0  the bytes arrive on the line as they are;
//   1  they arrive as the payload of a well-formed frame from the slave
//      awaited with the sequence of the last request sent (bit 5: the next
//      one), in two pieces cut at bits 0-4 (0: whole);
//   2  the scheduler's timer runs out (at most kMaxSteps times an input);
//   3  a manage-control client sends them as one frame's data (bit 0: with
//      a checksum); a request for a slave is relayed.
// Whatever goes out on the line is one whole frame to a slave of the record
// or of a relay, and every answer a client gets is one whole frame.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
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
#include "cascade/processor/CascadeCtrlMasterProcessorFactory.h"
#include "cascade/processor/CascadeCtrlRelay.h"
#include "cascade/processor/CascadeCtrlSender.h"
#include "manage_control/parser/MgrCtrlPacketParser.h"
#include "manage_control/processor/MgrCtrlProcessor.h"
#include "manage_control/processor/MgrCtrlProcessorFactory.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"
#include "muduo/net/EventLoop.h"

namespace
{
using namespace CascadeCtrl;

const int kSlaves[4] = {1, 2, 3, 200};
const int kMaxSteps = 16;

// A client's connection: every answer must be one whole manage-control frame.
class FrameChecker : public CascadeCtrlSender
{
public:
    explicit FrameChecker(muduo::net::EventLoop* loop) : loop_(loop) {}
    void sendLocal(const void* data, unsigned int length) override
    {
        MgrCtrl::MgrCtrlPacketParser parser(loop_);
        muduo::net::Buffer frame;
        if (parser.parse(static_cast<const char*>(data), static_cast<int>(length), frame) != 0 ||
            parser.buffered() != 0)
            __builtin_trap();
    }

private:
    muduo::net::EventLoop* loop_;
};

struct Harness
{
    Harness()
    {
        fuzz::useSeededBoard();
        // Only relays leave this unit here, but the factory's local commands
        // are made all the same.
        energy = std::make_unique<EnergyDatabase>();
        clients = std::make_unique<MgrCtrl::MgrCtrlProcessorFactory>(&loop, fuzz::seededModules(&loop, *energy));
        line = std::make_unique<fuzz::FuzzLine>(&loop);
        checker = std::make_unique<CascadeCtrlPacketParser>(&loop);
        sender = std::make_shared<FrameChecker>(&loop);
        _Device& device = GlobalData::getDevice();
        device.isMaster = true;
        device.address = 0;
        record = device;
    }

    // What went out on the line: nothing, or one whole frame to a slave we
    // know of; its sequence becomes the one awaited.
    void check(const std::set<int>& targets)
    {
        const std::string out = line->take();
        if (out.empty())
            return;
        muduo::net::Buffer payload;
        int address = -1, sequence = -1;
        if (checker->parse(out.data(), static_cast<int>(out.size()), address, sequence, payload) != 0 ||
            out.size() != CascadeCtrlPacketBuilder::kHeaderLength + payload.readableBytes() ||
            payload.readableBytes() == 0 || targets.count(address) == 0)
            __builtin_trap();
        lastSequence = sequence;
    }

    muduo::net::EventLoop loop;
    std::unique_ptr<EnergyDatabase> energy;
    std::unique_ptr<MgrCtrl::MgrCtrlProcessorFactory> clients;
    std::unique_ptr<fuzz::FuzzLine> line;
    std::unique_ptr<CascadeCtrlPacketParser> checker;
    std::shared_ptr<FrameChecker> sender;
    _Device record;
    int lastSequence = 0;
};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Harness* harness = new Harness;
    if (size == 0)
        return 0;
    _Device& device = GlobalData::getDevice();
    device = harness->record;
    std::set<int> targets;
    for (int i = 0; i <= (data[0] & 3); ++i)
    {
        device.slaves[kSlaves[i]].address = kSlaves[i];
        targets.insert(kSlaves[i]);
    }
    const size_t slaves = device.slaves.size();
    CascadeCtrlRelay::s_sequence = 0;
    harness->lastSequence = 0;
    {
        CascadeCtrlMasterProcessorFactory factory(&harness->loop, harness->line->port());
        factory.start();
        CascadeCtrlPacketBuilder builder;
        int steps = 0;
        fuzz::forEachRecord(data + 1, size - 1, [&](uint8_t control, const char* bytes, size_t n) {
            switch (control >> 6)
            {
            case 0:
                factory.processCascadeCtrlPacket(bytes, static_cast<int>(n));
                break;
            case 1:
            {
                muduo::net::Buffer payload, frame;
                payload.append(bytes, n);
                builder.buildPacket(frame, factory.address(), harness->lastSequence + ((control & 0x20) ? 1 : 0),
                                    payload);
                const size_t cut = std::min<size_t>(control & 0x1F, frame.readableBytes());
                if (cut > 0)
                    factory.processCascadeCtrlPacket(frame.peek(), static_cast<int>(cut));
                factory.processCascadeCtrlPacket(frame.peek() + cut,
                                                 static_cast<int>(frame.readableBytes() - cut));
                break;
            }
            case 2:
                if (++steps <= kMaxSteps)
                    factory.onTimeout();
                break;
            default:
            {
                muduo::net::Buffer request;
                request.append(bytes, n);
                std::shared_ptr<MgrCtrl::MgrCtrlProcessor> processor;
                if (harness->clients->dispatch(request, (control & 1) != 0, processor) ==
                    MgrCtrl::MgrCtrlProcessorFactory::kRelay)
                {
                    const std::shared_ptr<CascadeCtrlRelay>& relay = processor->relay();
                    relay->setSerialPort(harness->line->port());
                    relay->setSender(harness->sender);
                    targets.insert(relay->targetAddress());
                    factory.addCascadeCtrlRelay(relay);
                }
            }
            }
            harness->check(targets);
            if (factory.queuedRelays() > CascadeCtrlMasterProcessorFactory::kMaxQueuedRelays ||
                device.slaves.size() != slaves)
                __builtin_trap();
        });
    }
    fuzz::settle(harness->loop, false);
    return 0;
}
