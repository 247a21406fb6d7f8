// The manage-control dispatcher over whole frames: byte 0 picks the checksum
// flag (bit 0), the unit's role (bit 1: not the master) and a wide unit (bit
// 2: 48 outlets); the rest is one frame's data. Whatever it holds, a request
// is refused, answered with one well-formed reply frame, or handed on as a
// relay for a slave that writes its payload. A ping test is answered without
// being started: it would send echo requests from the fuzzing host.
#include <SQLiteCpp/Database.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "EnergyDatabase.h"
#include "EnergyRecorder.h"
#include "FuzzBoard.h"
#include "GlobalData.h"
#include "PingTaskContainer.h"
#include "PowerModuleContainer.h"
#include "ScheduledTaskContainer.h"
#include "cascade/processor/CascadeCtrlRelay.h"
#include "manage_control/parser/MgrCtrlCommandCode.h"
#include "manage_control/parser/MgrCtrlPacketParser.h"
#include "manage_control/processor/MgrCtrlProcessor.h"
#include "manage_control/processor/MgrCtrlProcessorFactory.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"
#include "muduo/net/EventLoop.h"
#include "platform/core/BoardRoot.h"

namespace
{
struct Harness
{
    Harness()
    {
        fuzz::useBoardRoot();  // no pdu.db: every save fails, nothing reaches the host
        muduo::Logger::setLogLevel(muduo::Logger::FATAL);
        muduo::Logger::setOutput([](const char*, int) {});
        // An empty energy.db: statistics queries find no rows.
        fuzz::makeBoardDir("/var/www/database");
        SQLite::Database file(board::path(EnergyDatabase::s_dbName), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        file.exec("create table if not exists variable(port integer primary key, reference_energy integer, "
                  "real_energy integer, save_energy integer, save_datetime text)");
        file.exec("create table if not exists statistics(port integer, energy integer, datetime text, "
                  "primary key(port, datetime))");
        energy = std::make_unique<EnergyDatabase>();
        MgrCtrl::MgrCtrlModules modules;
        modules.powerModules = std::make_shared<PowerModuleContainer>(&loop);  // no module: switches nothing
        modules.scheduledTasks = std::make_shared<ScheduledTaskContainer>(&loop);
        modules.pingTasks = std::make_shared<PingTaskContainer>(&loop, 3);
        modules.energyRecorder = std::make_shared<EnergyRecorder>(&loop, *energy);
        modules.energyDatabase = energy.get();
        factory = std::make_unique<MgrCtrl::MgrCtrlProcessorFactory>(&loop, modules);
        _Device& device = GlobalData::getDevice();
        device.slaves[1].valid = true;
        device.slaves[1].portCount = 8;
        device.slaves[2].portCount = 16;  // not answered yet
        device.slaves[200].valid = true;
        device.slaves[200].portCount = 60;
    }

    muduo::net::EventLoop loop;
    std::unique_ptr<EnergyDatabase> energy;
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
        if (data[1] == MgrCtrl::kTestPing)
            processor->buildResponsePacket(0, reply);
        else
            processor->process(reply);
        MgrCtrl::MgrCtrlPacketParser parser(&harness->loop);
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
    return 0;
}
