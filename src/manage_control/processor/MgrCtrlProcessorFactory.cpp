#include "manage_control/processor/MgrCtrlProcessorFactory.h"

#include "cascade/processor/CascadeCtrlRelay.h"
#include "manage_control/parser/MgrCtrlDataParser.h"
#include "manage_control/parser/MgrCtrlPacketParser.h"
#include "manage_control/processor/MgrCtrlCommandTable.h"
#include "manage_control/processor/MgrCtrlProcessor.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"

namespace MgrCtrl
{
MgrCtrlProcessorFactory::MgrCtrlProcessorFactory(muduo::net::EventLoop* loop, PduServer* server)
    : MgrCtrlProcessorFactory(loop, server ? modulesOf(*server) : MgrCtrlModules())
{
}

MgrCtrlProcessorFactory::MgrCtrlProcessorFactory(muduo::net::EventLoop* loop, const MgrCtrlModules& modules)
    : loop_(loop)
{
    for (const MgrCtrlCommandTable::Entry& entry : MgrCtrlCommandTable::entries())
        dataParsers_[entry.code] = entry.maker ? entry.maker(modules) : nullptr;
}

MgrCtrlProcessorFactory::~MgrCtrlProcessorFactory() = default;

void MgrCtrlProcessorFactory::addPacketParser(const std::string& connectionName)
{
    if (packetParsers_.count(connectionName) == 0)
        packetParsers_[connectionName] = std::make_shared<MgrCtrlPacketParser>(loop_);
}

size_t MgrCtrlProcessorFactory::deletePacketParser(const std::string& connectionName)
{
    return packetParsers_.erase(connectionName);
}

int MgrCtrlProcessorFactory::parseMgrCtrlProcessor(const std::string& connectionName, const char* data, int length,
                                                   std::shared_ptr<MgrCtrlProcessor>& processor)
{
    processor.reset();
    const auto found = packetParsers_.find(connectionName);
    if (found == packetParsers_.end())
    {
        LOG_WARN << "no packet parser";
        return kNothing;
    }
    MgrCtrlPacketParser& reassembler = *found->second;
    muduo::net::Buffer frame(1024);
    const int parsed = reassembler.parse(data, length, frame);
    if (parsed == 1)
        return kNothing;
    if (parsed != 0)
    {
        LOG_WARN << "parse error";
        return kNothing;
    }
    return dispatch(frame, reassembler.getChecksumFlag(), processor);
}

int MgrCtrlProcessorFactory::dispatch(muduo::net::Buffer& data, bool checksumFlag,
                                      std::shared_ptr<MgrCtrlProcessor>& processor)
{
    processor.reset();
    if (data.readableBytes() == 0)
        return kNothing;
    const int code = static_cast<unsigned char>(*data.peek());
    LOG_INFO << "cmd:" << code;
    const auto parser = dataParsers_.find(code);
    if (parser == dataParsers_.end() || !parser->second)
    {
        LOG_WARN << "no data parser";
        return kNothing;
    }
    std::shared_ptr<MgrCtrlProcessor> made;
    const int parsed = parser->second->parse(data, made);
    if (parsed == MgrCtrlDataParser::kLocal && made)
    {
        made->setChecksumFlag(checksumFlag);
        processor = made;
        return kAnswer;
    }
    if (parsed == MgrCtrlDataParser::kRelay && made && made->relay())
    {
        made->relay()->setChecksumFlag(checksumFlag);
        processor = made;
        return kRelay;
    }
    LOG_INFO << "parse mgrctrl data error";
    return kNothing;
}
}
