#include "manage_control/processor/MgrCtrlProcessor.h"

#include "cascade/processor/CascadeCtrlRelay.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "muduo/net/Buffer.h"

namespace MgrCtrl
{
MgrCtrlProcessor::MgrCtrlProcessor() : checksumFlag_(false) {}

MgrCtrlProcessor::~MgrCtrlProcessor() = default;

void MgrCtrlProcessor::process(muduo::net::Buffer& out) { buildResponsePacket(work(), out); }

void MgrCtrlProcessor::buildResponsePacket(int result, muduo::net::Buffer& out)
{
    muduo::net::Buffer data(1024);
    buildResponseData(result, data);
    MgrCtrlPacketBuilder::buildRetPacket(out, checksumFlag_, data);
}
}
