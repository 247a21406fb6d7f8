// What arrives on the servers and on the cascade line, handed to the parser
// of its protocol. The callers empty the receive buffers afterwards.
#include "GlobalData.h"
#include "NbnsResponder.h"
#include "PduServer.h"
#include "Utility.h"
#include "modbus/ModbusController.h"
#include "muduo/base/Logging.h"
#include "muduo/net/TcpConnection.h"

namespace
{
// The unit's first interface address, host byte order; 0 without one.
unsigned int firstInterfaceAddress()
{
    Utility::NetworkQeuryResult result;
    Utility::getNetworkParam(&result);
    for (const Utility::NetworkQeuryEntry& entry : result.entries)
        if (entry.valid)
            return entry.ip;
    return 0;
}
}

void PduServer::onWebRequestMessage(const UdpTranceiverPtr&, const InetAddress& peer, const char*, int length,
                                    Timestamp)
{
    LOG_INFO << "web request of " << length << " bytes from " << peer.toIpPort() << " dropped: no web interface";
}

void PduServer::onConfigMessage(const UdpTranceiverPtr& tranceiver, const InetAddress& peer, Buffer* buffer,
                                Timestamp time)
{
    Buffer reply(1024);
    if (configProcessor_.process(buffer->peek(), static_cast<int>(buffer->readableBytes()), time, &reply))
        tranceiver->send(peer, reply.peek(), static_cast<int>(reply.readableBytes()));
}

void PduServer::onSnmpMessage(const UdpTranceiverPtr& tranceiver, const InetAddress& peer, const std::string&,
                              Timestamp)
{
    // No request of the agent has a processor here.
    tranceiver->send(peer, muduo::StringPiece("error"));
}

void PduServer::onModbusConnection(const TcpConnectionPtr& connection)
{
    LOG_INFO << connection->localAddress().toIpPort() << " -> " << connection->peerAddress().toIpPort() << " is "
             << (connection->connected() ? "UP" : "DOWN");
    if (connection->connected())
        modbus_->addParser(connection->name());
    else
        modbus_->deleteParser(connection->name());
}

void PduServer::onModbusMessage(const TcpConnectionPtr& connection, Buffer* buffer, Timestamp)
{
    Buffer reply(1024);
    modbus_->parse(connection->name(), buffer->peek(), static_cast<int>(buffer->readableBytes()), reply);
    if (reply.readableBytes() > 0)
        connection->send(&reply);
}

void PduServer::onMgrCtrlScanMessage(const UdpTranceiverPtr&, const InetAddress& peer, Buffer* buffer, Timestamp)
{
    LOG_INFO << "onMgrCtrlScanMessage";
    LOG_INFO << "scan request of " << buffer->readableBytes() << " bytes from " << peer.toIpPort()
             << " dropped: no manage-control interface";
}

void PduServer::onMgrCtrlConnection(const TcpConnectionPtr& connection)
{
    LOG_INFO << "manage-control " << connection->peerAddress().toIpPort() << " is "
             << (connection->connected() ? "UP" : "DOWN");
}

void PduServer::onMgrCtrlMessage(const TcpConnectionPtr& connection, Buffer* buffer, Timestamp)
{
    LOG_INFO << "manage-control request of " << buffer->readableBytes() << " bytes on " << connection->name()
             << " dropped: no manage-control interface";
}

void PduServer::onNbnsMessage(const UdpTranceiverPtr& tranceiver, const InetAddress& peer, Buffer* buffer, Timestamp)
{
    const _NetbiosName& name = GlobalData::getDevice().netbiosName;
    Buffer reply(1024);
    if (NbnsResponder::answer(buffer->peek(), static_cast<int>(buffer->readableBytes()),
                              reinterpret_cast<const unsigned char*>(name.name), name.length, firstInterfaceAddress,
                              reply))
        tranceiver->send(peer, reply.peek(), static_cast<int>(reply.readableBytes()));
}

void PduServer::onCascadeDataReceived(Buffer* buffer, Timestamp)
{
    LOG_INFO << "cascade bytes dropped: " << buffer->readableBytes() << ", no cascade endpoint";
}
