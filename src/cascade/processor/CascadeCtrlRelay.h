#pragma once
#include <cstdint>
#include <memory>

#include "cascade/parser/CascadeCtrlPacketBuilder.h"
#include "cascade/processor/CascadeRelayType.h"
#include "muduo/base/noncopyable.h"

class SerialPort;
namespace muduo
{
namespace net
{
class Buffer;
}
}

namespace CascadeCtrl
{
class CascadeCtrlSender;

// One request for one slave with its way back: the cascade line it goes out
// on and the sender that carries the slave's answer to whoever asked. Made
// with make_shared by the parser that decides to relay (the concrete relays
// are CascadeCtrlRequestRelay members, one per command); the server hub sets
// the serial port and the sender, the master sends it and answers through it.
// Loop thread only.
class CascadeCtrlRelay : muduo::noncopyable
{
public:
    explicit CascadeCtrlRelay(CascadeRelayType type);
    virtual ~CascadeCtrlRelay();

    // Appends the command's request payload, code byte first.
    virtual void buildRequestData(muduo::net::Buffer& payload) const = 0;

    // Writes the request in one frame to the slave, under the next value of
    // s_sequence, which the relay keeps to match the answer.
    void transferRemote();
    // Passes an answer to the requester (relay types 1 and 2).
    void sendLocal(const void* data, unsigned int length);

    CascadeRelayType type() const { return type_; }
    int targetAddress() const { return targetAddress_; }
    void setTargetAddress(int address) { targetAddress_ = address; }
    uint16_t sequence() const { return sequence_; }
    // The manage-control request's checksum flag; the answer frame mirrors it.
    bool checksumFlag() const { return checksumFlag_; }
    void setChecksumFlag(bool flag) { checksumFlag_ = flag; }
    void setSerialPort(const std::shared_ptr<SerialPort>& port) { serialPort_ = port; }
    void setSender(const std::shared_ptr<CascadeCtrlSender>& sender) { sender_ = sender; }
    const std::shared_ptr<SerialPort>& serialPort() const { return serialPort_; }
    const std::shared_ptr<CascadeCtrlSender>& sender() const { return sender_; }

    // Shared by every relay, polls and client requests alike; wraps at 65535.
    static uint16_t s_sequence;

private:
    CascadeRelayType type_;
    int targetAddress_;
    uint16_t sequence_;
    std::shared_ptr<SerialPort> serialPort_;
    bool checksumFlag_;
    std::shared_ptr<CascadeCtrlSender> sender_;
    CascadeCtrlPacketBuilder builder_;
};
}
