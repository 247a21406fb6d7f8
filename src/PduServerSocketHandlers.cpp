// What arrives on the servers and on the cascade line, handed to the parser
// of its protocol. The callers empty the receive buffers afterwards. Each
// handler holds what its peer's bytes make the daemon log to its
// interface's rate.
#include "GlobalData.h"
#include "NbnsResponder.h"
#include "PduServer.h"
#include "Utility.h"
#include "cascade/processor/CascadeCtrlProcessorFactory.h"
#include "cascade/processor/CascadeCtrlRelay.h"
#include "cascade/processor/CascadeCtrlTcpSender.h"
#include "cascade/processor/CascadeCtrlUdpSender.h"
#include "manage_control/processor/MgrCtrlProcessor.h"
#include "modbus/ModbusController.h"
#include "muduo/base/Logging.h"
#include "muduo/net/TcpConnection.h"
#include "snmp/processor/SnmpProcessor.h"
#include "web/web_processor/WebProcessor.h"

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

void PduServer::setCascadeCtrlProcessorFactory(std::unique_ptr<CascadeCtrl::CascadeCtrlProcessorFactory> factory)
{
    cascadeFactory_ = std::move(factory);
    // What the cascade line brings goes to the endpoint, if there is one.
    if (cascadeFactory_)
        requestPaths_.processCascadePacket = [this](const char* data, int length) {
            cascadeFactory_->processCascadeCtrlPacket(data, length);
        };
    else
        requestPaths_.processCascadePacket = nullptr;
}

void PduServer::forwardToSlave(const std::shared_ptr<CascadeCtrl::CascadeCtrlRelay>& relay,
                               const std::shared_ptr<CascadeCtrl::CascadeCtrlSender>& sender)
{
    const auto logScope = peerLog_.scope(PeerLog::kRelay);
    // A unit that is not the master makes no relay: nothing to send.
    if (!relay)
    {
        LOG_INFO << "request for a slave without a relay: nothing sent";
        return;
    }
    if (!cascadeFactory_)
    {
        LOG_WARN << "request for a slave dropped: no cascade link";
        return;
    }
    relay->setSerialPort(cascadePort_);
    relay->setSender(sender);
    cascadeFactory_->addCascadeCtrlRelay(relay);
}

void PduServer::onWebRequestMessage(const UdpTranceiverPtr& tranceiver, const InetAddress& peer, const char* data,
                                    int length, Timestamp)
{
    const auto logScope = peerLog_.scope(PeerLog::kWeb);
    if (!requestPaths_.parseWeb)
    {
        LOG_INFO << "web request of " << length << " bytes dropped: no web interface";
        return;
    }
    std::shared_ptr<web::WebProcessor> processor;
    const int result = requestPaths_.parseWeb(std::string(data, static_cast<size_t>(length > 0 ? length : 0)),
                                              processor);
    if (!processor || (result != 1 && result != 2))
        return;
    if (result == 2)
    {
        auto sender = std::make_shared<CascadeCtrl::CascadeCtrlUdpSender>(tranceiver, peer);
        return forwardToSlave(processor->relay(), sender);
    }
    std::string response;
    processor->process(response);
    tranceiver->send(peer, muduo::StringPiece(response));
}

void PduServer::onConfigMessage(const UdpTranceiverPtr& tranceiver, const InetAddress& peer, Buffer* buffer,
                                Timestamp time)
{
    const auto logScope = peerLog_.scope(PeerLog::kConfig);
    Buffer reply(1024);
    if (configProcessor_.process(peer, buffer->peek(), static_cast<int>(buffer->readableBytes()), time, &reply))
        tranceiver->send(peer, reply.peek(), static_cast<int>(reply.readableBytes()));
}

void PduServer::onSnmpMessage(const UdpTranceiverPtr& tranceiver, const InetAddress& peer,
                              const std::string& request, Timestamp)
{
    const auto logScope = peerLog_.scope(PeerLog::kSnmp);
    std::shared_ptr<snmp::SnmpProcessor> processor;
    if (requestPaths_.parseSnmp)
        processor = requestPaths_.parseSnmp(request);
    std::string response;
    if (processor)
        processor->process(response);
    else
        response = "error";
    tranceiver->send(peer, muduo::StringPiece(response));
}

void PduServer::limitOutput(const TcpConnectionPtr& connection)
{
    connection->setHighWaterMarkCallback(
        [](const TcpConnectionPtr& c, size_t queued) {
            LOG_INFO << c->name() << ": " << queued << " bytes unread by the peer, reading paused";
        },
        kOutputHighWaterMark);
}

void PduServer::onModbusConnection(const TcpConnectionPtr& connection)
{
    LOG_INFO << connection->localAddress().toIpPort() << " -> " << connection->peerAddress().toIpPort() << " is "
             << (connection->connected() ? "UP" : "DOWN");
    if (connection->connected())
    {
        limitOutput(connection);
        modbus_->addParser(connection->name());
    }
    else
    {
        modbus_->deleteParser(connection->name());
    }
}

void PduServer::onModbusMessage(const TcpConnectionPtr& connection, Buffer* buffer, Timestamp)
{
    const auto logScope = peerLog_.scope(PeerLog::kModbus);
    Buffer reply(1024);
    // Only a whole request keeps the connection from counting as idle.
    if (modbus_->parse(connection->name(), buffer->peek(), static_cast<int>(buffer->readableBytes()), reply) > 0)
        connection->markActive();
    if (reply.readableBytes() > 0)
        connection->send(&reply);
}

void PduServer::onMgrCtrlScanMessage(const UdpTranceiverPtr& tranceiver, const InetAddress& peer, Buffer* buffer,
                                     Timestamp)
{
    const auto logScope = peerLog_.scope(PeerLog::kScan);
    LOG_INFO << "onMgrCtrlScanMessage";
    if (!requestPaths_.parseScanFrame || !requestPaths_.parseScanDevice)
    {
        LOG_INFO << "scan request dropped: no manage-control interface";
        return;
    }
    Buffer frame(1024);
    const int parsed = requestPaths_.parseScanFrame(buffer->peek(), static_cast<int>(buffer->readableBytes()), frame);
    if (parsed == 1)
    {
        LOG_INFO << "parse incomplete";
    }
    else if (parsed == 2)
    {
        LOG_WARN << "parse wrong";
    }
    if (parsed != 0)
        return;
    std::shared_ptr<MgrCtrl::MgrCtrlProcessor> processor;
    if (requestPaths_.parseScanDevice(frame, processor) != 2 || !processor)
        return;
    Buffer reply(1024);
    processor->process(reply);
    tranceiver->send(peer, reply.peek(), static_cast<int>(reply.readableBytes()));
}

void PduServer::onMgrCtrlConnection(const TcpConnectionPtr& connection)
{
    LOG_INFO << "manage-control " << connection->peerAddress().toIpPort() << " is "
             << (connection->connected() ? "UP" : "DOWN");
    if (connection->connected())
        limitOutput(connection);
    const auto& change = connection->connected() ? requestPaths_.addMgrCtrlParser : requestPaths_.deleteMgrCtrlParser;
    if (change)
        change(connection->name());
}

void PduServer::onMgrCtrlMessage(const TcpConnectionPtr& connection, Buffer* buffer, Timestamp)
{
    const auto logScope = peerLog_.scope(PeerLog::kMgrCtrl);
    if (!requestPaths_.parseMgrCtrl)
    {
        LOG_INFO << "manage-control request on " << connection->name() << " dropped: no manage-control interface";
        return;
    }
    std::shared_ptr<MgrCtrl::MgrCtrlProcessor> processor;
    const int result = requestPaths_.parseMgrCtrl(connection->name(), buffer->peek(),
                                                  static_cast<int>(buffer->readableBytes()), processor);
    if (!processor || (result != 1 && result != 2))
        return;
    // Only a whole request keeps the connection from counting as idle.
    connection->markActive();
    if (result == 2)
        return forwardToSlave(processor->relay(), std::make_shared<CascadeCtrl::CascadeCtrlTcpSender>(connection));
    Buffer reply(1024);
    processor->process(reply);
    connection->send(&reply);
}

void PduServer::onNbnsMessage(const UdpTranceiverPtr& tranceiver, const InetAddress& peer, Buffer* buffer, Timestamp)
{
    const auto logScope = peerLog_.scope(PeerLog::kNetbios);
    const _NetbiosName& name = GlobalData::getDevice().netbiosName;
    Buffer reply(1024);
    if (NbnsResponder::answer(buffer->peek(), static_cast<int>(buffer->readableBytes()),
                              reinterpret_cast<const unsigned char*>(name.name), name.length, firstInterfaceAddress,
                              reply))
        tranceiver->send(peer, reply.peek(), static_cast<int>(reply.readableBytes()));
}

void PduServer::onCascadeDataReceived(Buffer* buffer, Timestamp)
{
    const auto logScope = peerLog_.scope(PeerLog::kCascade);
    if (!requestPaths_.processCascadePacket)
    {
        LOG_INFO << "cascade bytes dropped: " << buffer->readableBytes() << ", no cascade endpoint";
        return;
    }
    requestPaths_.processCascadePacket(buffer->peek(), static_cast<int>(buffer->readableBytes()));
}
