#pragma once
#include <memory>

#include "cascade/parser/CascadeCtrlPacketParser.h"
#include "muduo/base/noncopyable.h"

class SerialPort;
namespace muduo
{
namespace net
{
class EventLoop;
}
}

namespace CascadeCtrl
{
class CascadeCtrlDataParser;
class CascadeCtrlProcessor;
class CascadeCtrlRelay;

// The unit's end of the cascade chain: a master that polls its slaves and
// relays client requests to them, or a slave that answers for itself.
// PduServer owns exactly one, chosen by the device record's role, feeds it
// every chunk read from the line and hands it the relays of its clients.
//
// processCascadeCtrlPacket reassembles one frame per chunk and keeps it only
// when it carries this endpoint's address (a slave's own; on a master the
// slave it waits for). The parser for the payload's code byte decodes it
// into a processor, which gets the frame's address and goes to process with
// the frame's sequence. Loop thread only.
class CascadeCtrlProcessorFactory : muduo::noncopyable
{
public:
    CascadeCtrlProcessorFactory(muduo::net::EventLoop* loop, const std::shared_ptr<SerialPort>& serialPort);
    virtual ~CascadeCtrlProcessorFactory();

    // Called last when the server starts.
    virtual void start() = 0;
    virtual void stop() = 0;
    // Takes a relay whose serial port and answer sender are set; a master
    // sends it or queues it, a slave drops it.
    virtual void addCascadeCtrlRelay(const std::shared_ptr<CascadeCtrlRelay>& relay) = 0;
    // The parser of a command code, or an empty pointer.
    virtual std::shared_ptr<CascadeCtrlDataParser> getDataParser(unsigned char code) = 0;
    virtual void process(std::shared_ptr<CascadeCtrlProcessor>& processor, int sequence) = 0;

    // Every chunk read from the cascade line.
    void processCascadeCtrlPacket(const char* data, int length);

    int address() const { return address_; }

protected:
    // A chunk of a frame from address arrived, the frame not yet whole.
    virtual void onFrameProgress(int address) { (void)address; }
    void setAddress(int address) { address_ = address; }
    const std::shared_ptr<SerialPort>& serialPort() const { return serialPort_; }

private:
    std::shared_ptr<SerialPort> serialPort_;
    int address_;
    CascadeCtrlPacketParser packetParser_;
};
}
