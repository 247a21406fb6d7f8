#pragma once
#include "cascade/processor/CascadeCtrlSender.h"
#include "muduo/net/TcpConnection.h"

namespace CascadeCtrl
{
// Answers a manage-control client on its connection, which it keeps alive
// until the answer is out; the connection drops an answer once it closed.
class CascadeCtrlTcpSender : public CascadeCtrlSender
{
public:
    explicit CascadeCtrlTcpSender(const muduo::net::TcpConnectionPtr& connection) : connection_(connection) {}

    void sendLocal(const void* data, unsigned int length) override;

private:
    muduo::net::TcpConnectionPtr connection_;
};
}
