#pragma once
#include <functional>
#include <memory>
#include <string>

namespace muduo
{
namespace net
{
class Buffer;
}
}
namespace web
{
class WebProcessor;
}
namespace snmp
{
class SnmpProcessor;
}
namespace MgrCtrl
{
class MgrCtrlProcessor;
}

// The entry points of the request interfaces that PduServer's socket
// handlers call. Whoever makes a factory binds its calls here; an empty
// entry means the interface is absent and its traffic is dropped (the SNMP
// bridge then answers "error"). Tests bind doubles.
struct RequestPaths
{
    // web::WebProcessorFactory::parseWebProcessor: 0 nothing, 1 answer, 2 relay.
    std::function<int(const std::string& request, std::shared_ptr<web::WebProcessor>& processor)> parseWeb;
    // snmp::SnmpProcessorFactory::parseSnmpProcessor: empty for a bad request.
    std::function<std::shared_ptr<snmp::SnmpProcessor>(const std::string& request)> parseSnmp;
    // MgrCtrl::MgrCtrlProcessorFactory: one reassembler per connection, then
    // parseMgrCtrlProcessor: 0 nothing, 1 answer, 2 relay.
    std::function<void(const std::string& connectionName)> addMgrCtrlParser;
    std::function<void(const std::string& connectionName)> deleteMgrCtrlParser;
    std::function<int(const std::string& connectionName, const char* data, int length,
                      std::shared_ptr<MgrCtrl::MgrCtrlProcessor>& processor)>
        parseMgrCtrl;
    // The scan port's MgrCtrl::MgrCtrlPacketParser::parse: 0 frame, 1 more, 2 bad.
    std::function<int(const char* data, int length, muduo::net::Buffer& frame)> parseScanFrame;
    // MgrCtrl::ScanDeviceParser::parse: 2 when it made the scan processor.
    std::function<int(muduo::net::Buffer& frame, std::shared_ptr<MgrCtrl::MgrCtrlProcessor>& processor)>
        parseScanDevice;
    // CascadeCtrl::CascadeCtrlProcessorFactory::processCascadeCtrlPacket.
    std::function<void(const char* data, int length)> processCascadePacket;
};
