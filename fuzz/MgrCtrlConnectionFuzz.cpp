// Manage-control as the server's handlers drive it: four TCP connections,
// each with its own reassembler, whose segments may carry several frames or
// a part of one, and datagrams on the scan port. The unit has the modules
// of a server without a power module and the databases of a fresh board.
//
// Byte 0: bit 0 the unit is not the master, bit 1 it has 48 outlets. Then
// segments: a control byte, a 16-bit big-endian length and that many bytes.
// Control bits 0-1 pick the connection; bit 2 sends the bytes to the scan
// port instead; bit 3 closes the connection and opens it again first; bit 4
// closes it for good (its bytes find no reassembler). Every answer is one
// whole frame; every relay is for a slave and writes a payload.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "EnergyDatabase.h"
#include "EnergyRecorder.h"
#include "FuzzSeededBoard.h"
#include "FuzzSplit.h"
#include "GlobalData.h"
#include "PingTaskContainer.h"
#include "PowerModuleContainer.h"
#include "ScheduledTaskContainer.h"
#include "cascade/processor/CascadeCtrlRelay.h"
#include "manage_control/parser/MgrCtrlPacketParser.h"
#include "manage_control/processor/MgrCtrlProcessor.h"
#include "manage_control/processor/MgrCtrlProcessorFactory.h"
#include "manage_control/processor/MgrCtrlScanPort.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"
#include "muduo/net/EventLoop.h"

namespace
{
const char* const kConnections[4] = {"mgrCtrl-127.0.0.1:4600#1", "mgrCtrl-127.0.0.1:4600#2",
                                     "mgrCtrl-127.0.0.1:4600#3", "mgrCtrl-127.0.0.1:4600#4"};

struct Harness
{
    Harness()
    {
        fuzz::useSeededBoard();
        energy = std::make_unique<EnergyDatabase>();
        scan = std::make_unique<MgrCtrl::MgrCtrlScanPort>(&loop);
        device = GlobalData::getDevice();
    }

    // The reply a processor writes: one whole frame.
    void answer(MgrCtrl::MgrCtrlProcessor& processor)
    {
        muduo::net::Buffer reply, back;
        processor.process(reply);
        MgrCtrl::MgrCtrlPacketParser parser(&loop);
        if (parser.parse(reply.peek(), static_cast<int>(reply.readableBytes()), back) != 0 || parser.buffered() != 0)
            __builtin_trap();
    }

    muduo::net::EventLoop loop;
    std::unique_ptr<EnergyDatabase> energy;
    std::unique_ptr<MgrCtrl::MgrCtrlScanPort> scan;
    _Device device;
};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Harness* harness = new Harness;
    if (size == 0)
        return 0;
    fuzz::resetBoardClock();
    _Device& device = GlobalData::getDevice();
    device = harness->device;
    device.isMaster = (data[0] & 1) == 0;
    device.address = device.isMaster ? 0 : 7;
    device.portCount = (data[0] & 2) ? 48 : 8;
    device.slaves[1].address = 1;
    device.slaves[1].valid = true;
    device.slaves[1].portCount = 8;
    device.slaves[200].address = 200;
    device.slaves[200].valid = true;
    device.slaves[200].portCount = 60;

    MgrCtrl::MgrCtrlModules modules = fuzz::seededModules(&harness->loop, *harness->energy);
    {
        MgrCtrl::MgrCtrlProcessorFactory factory(&harness->loop, modules);
        for (const char* name : kConnections)
            factory.addPacketParser(name);
        fuzz::forEachRecord(data + 1, size - 1, [&](uint8_t control, const char* bytes, size_t n) {
            std::shared_ptr<MgrCtrl::MgrCtrlProcessor> processor;
            if (control & 0x04)
            {
                muduo::net::Buffer frame;
                if (harness->scan->parseFrame(bytes, static_cast<int>(n), frame) == 0 &&
                    harness->scan->parseDevice(frame, processor) == 2)
                {
                    if (!processor)
                        __builtin_trap();
                    harness->answer(*processor);
                }
                return;
            }
            const std::string name = kConnections[control & 3];
            if (control & 0x18)
                factory.deletePacketParser(name);
            if (control & 0x08)
                factory.addPacketParser(name);
            const int result = factory.parseMgrCtrlProcessor(name, bytes, static_cast<int>(n), processor);
            if ((result == MgrCtrl::MgrCtrlProcessorFactory::kNothing) != (processor == nullptr))
                __builtin_trap();
            if (result == MgrCtrl::MgrCtrlProcessorFactory::kAnswer)
            {
                harness->answer(*processor);
            }
            else if (result == MgrCtrl::MgrCtrlProcessorFactory::kRelay)
            {
                muduo::net::Buffer payload;
                processor->relay()->buildRequestData(payload);
                if (payload.readableBytes() == 0 || processor->relay()->targetAddress() <= 0 ||
                    processor->relay()->targetAddress() > 255)
                    __builtin_trap();
            }
        });
    }
    const bool tasksAdded = modules.scheduledTasks->size() > 0;
    modules = MgrCtrl::MgrCtrlModules();
    fuzz::settle(harness->loop, tasksAdded);
    return 0;
}
