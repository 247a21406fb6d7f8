#pragma once
#include <memory>
#include <string>

class PduServer;

namespace muduo
{
namespace net
{
class EventLoop;
}
}

namespace MgrCtrl
{
class MgrCtrlProcessor;

// The manage-control commands of the TCP clients: one frame reassembler per
// connection and the processor of each whole command.
class MgrCtrlProcessorFactory
{
public:
    MgrCtrlProcessorFactory(muduo::net::EventLoop* loop, PduServer* server);

    void addPacketParser(const std::string& connectionName);
    void deletePacketParser(const std::string& connectionName);
    // 0 nothing to send, 1 answer with the processor, 2 forward its relay to
    // a slave.
    int parseMgrCtrlProcessor(const std::string& connectionName, const char* data, int length,
                              std::shared_ptr<MgrCtrlProcessor>& processor);
};
}
