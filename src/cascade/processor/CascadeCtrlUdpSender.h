#pragma once
#include "cascade/processor/CascadeCtrlSender.h"
#include "muduo/net/InetAddress.h"
#include "netext/UdpTranceiver.h"

namespace CascadeCtrl
{
// Answers a web client by UDP; holds the transceiver until the answer is out.
class CascadeCtrlUdpSender : public CascadeCtrlSender
{
public:
    CascadeCtrlUdpSender(const muduo::net::UdpTranceiverPtr& tranceiver, const muduo::net::InetAddress& peer)
        : tranceiver_(tranceiver), peer_(peer)
    {
    }

    void sendLocal(const char* data, int length) override { tranceiver_->send(peer_, data, length); }

private:
    muduo::net::UdpTranceiverPtr tranceiver_;
    muduo::net::InetAddress peer_;
};
}
