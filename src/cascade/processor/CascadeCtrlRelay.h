#pragma once
#include <memory>

class SerialPort;

namespace CascadeCtrl
{
class CascadeCtrlSender;

// One client request bound for a slave: the cascade line it goes out on and
// the sender that carries the slave's answer back.
class CascadeCtrlRelay
{
public:
    virtual ~CascadeCtrlRelay() = default;

    void setSerialPort(const std::shared_ptr<SerialPort>& port) { serialPort_ = port; }
    void setSender(const std::shared_ptr<CascadeCtrlSender>& sender) { sender_ = sender; }
    const std::shared_ptr<SerialPort>& serialPort() const { return serialPort_; }
    const std::shared_ptr<CascadeCtrlSender>& sender() const { return sender_; }

private:
    std::shared_ptr<SerialPort> serialPort_;
    std::shared_ptr<CascadeCtrlSender> sender_;
};
}
