#include "cascade/processor/CascadeCtrlRelay.h"

#include "SerialPort.h"
#include "cascade/processor/CascadeCtrlSender.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"

namespace CascadeCtrl
{
uint16_t CascadeCtrlRelay::s_sequence = 0;

CascadeCtrlRelay::CascadeCtrlRelay(CascadeRelayType type)
    : type_(type), targetAddress_(0), sequence_(0), checksumFlag_(false)
{
}

CascadeCtrlRelay::~CascadeCtrlRelay()
{
    sender_.reset();
    serialPort_.reset();
}

void CascadeCtrlRelay::transferRemote()
{
    if (!serialPort_)
    {
        LOG_WARN << "relay for addr:" << targetAddress_ << " has no serial port: not sent";
        return;
    }
    muduo::net::Buffer frame, payload;
    buildRequestData(payload);
    sequence_ = s_sequence++;
    builder_.buildPacket(frame, targetAddress_, sequence_, payload);
    serialPort_->fileHandler()->write(frame.peek(), static_cast<int>(frame.readableBytes()));
}

void CascadeCtrlRelay::sendLocal(const void* data, unsigned int length)
{
    if (!sender_)
    {
        LOG_WARN << "answer from addr:" << targetAddress_ << " has no requester to go to";
        return;
    }
    sender_->sendLocal(data, length);
}
}
