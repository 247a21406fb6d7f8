#pragma once
#include <memory>
#include <string>
#include <unordered_map>

#include "manage_control/processor/MgrCtrlModules.h"
#include "muduo/base/noncopyable.h"

class PduServer;

namespace muduo
{
namespace net
{
class Buffer;
class EventLoop;
}
}

namespace MgrCtrl
{
class MgrCtrlDataParser;
class MgrCtrlPacketParser;
class MgrCtrlProcessor;

// The manage-control commands of the TCP clients: one frame reassembler per
// connection, and the parser of each command code (42 to 83) that turns a
// whole frame into the processor answering it here or relaying it to a
// slave. One per process; the command table is fixed when it is made.
class MgrCtrlProcessorFactory : muduo::noncopyable
{
public:
    // Results of parseMgrCtrlProcessor and dispatch.
    static const int kNothing = 0;
    static const int kAnswer = 1;  // process the processor, send its reply
    static const int kRelay = 2;   // hand its relay to the cascade link

    // The parsers take the modules they hand to their processors from the
    // server.
    MgrCtrlProcessorFactory(muduo::net::EventLoop* loop, PduServer* server);
    MgrCtrlProcessorFactory(muduo::net::EventLoop* loop, const MgrCtrlModules& modules);
    ~MgrCtrlProcessorFactory();

    // A connection keeps the reassembler it got first.
    void addPacketParser(const std::string& connectionName);
    size_t deletePacketParser(const std::string& connectionName);
    // Bytes received on a connection: at most one whole frame is taken.
    int parseMgrCtrlProcessor(const std::string& connectionName, const char* data, int length,
                              std::shared_ptr<MgrCtrlProcessor>& processor);
    // The data of one whole frame, with the frame's checksum flag, which the
    // reply (or the relay's) mirrors.
    int dispatch(muduo::net::Buffer& data, bool checksumFlag, std::shared_ptr<MgrCtrlProcessor>& processor);

private:
    muduo::net::EventLoop* loop_;
    std::unordered_map<std::string, std::shared_ptr<MgrCtrlPacketParser>> packetParsers_;
    std::unordered_map<int, std::shared_ptr<MgrCtrlDataParser>> dataParsers_;
};
}
