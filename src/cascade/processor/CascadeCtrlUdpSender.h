#pragma once
#include "cascade/processor/CascadeCtrlSender.h"
#include "muduo/net/InetAddress.h"
#include "netext/UdpTranceiver.h"

namespace CascadeCtrl
{
// Answers a web client by one datagram; holds the transceiver until the
// answer is out. UDP gives no word back, so a client gone is not noticed.
class CascadeCtrlUdpSender : public CascadeCtrlSender
{
public:
    CascadeCtrlUdpSender(const muduo::net::UdpTranceiverPtr& tranceiver, const muduo::net::InetAddress& peer)
        : tranceiver_(tranceiver), peer_(peer)
    {
    }

    void sendLocal(const void* data, unsigned int length) override;

private:
    muduo::net::UdpTranceiverPtr tranceiver_;
    muduo::net::InetAddress peer_;
};
}
