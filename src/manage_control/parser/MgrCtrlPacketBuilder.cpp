#include "manage_control/parser/MgrCtrlPacketBuilder.h"

#include "manage_control/parser/MgrCtrlAnswerShapes.h"
#include "manage_control/parser/MgrCtrlCommandCode.h"
#include "manage_control/parser/MgrCtrlPacketParser.h"
#include "muduo/net/Buffer.h"
#include "netext/WireReader.h"

using muduo::net::Buffer;

namespace MgrCtrl
{
typedef MgrCtrlAnswerShapes Shape;

void MgrCtrlPacketBuilder::buildRetPacket(Buffer& out, bool checksumFlag, const Buffer& data)
{
    uint8_t sum = 0;
    muduo::net::WireReader in(data);
    for (uint8_t byte = 0; checksumFlag && in.u8(byte);)
        sum = static_cast<uint8_t>(sum + byte);
    muduo::net::WireWriter w(out);
    w.u8(MgrCtrlPacketParser::kHeader).u8(checksumFlag ? 1 : 0).u8(sum);
    w.be32(static_cast<uint32_t>(data.readableBytes())).bytes(data.peek(), data.readableBytes());
}

void MgrCtrlPacketBuilder::buildQueryDeviceStatusRetData(Buffer& out, int address, int result,
                                                         unsigned char statusMask, unsigned int outletMask,
                                                         const _DeviceStatus& status)
{
    Shape::deviceStatus<uint32_t>(out, kQueryDeviceStatus, address, result, statusMask, outletMask, status);
}

void MgrCtrlPacketBuilder::buildQueryDeviceStatusExtRetData(Buffer& out, int address, int result,
                                                            unsigned char statusMask, unsigned long long outletMask,
                                                            const _DeviceStatus& status)
{
    Shape::deviceStatus<uint64_t>(out, kQueryDeviceStatusExt, address, result, statusMask, outletMask, status);
}

void MgrCtrlPacketBuilder::buildQueryNameRetData(Buffer& out, int address, int result, unsigned int mask,
                                                 const std::vector<std::string>& names)
{
    Shape::names<uint32_t>(out, kQueryName, address, result, mask, names);
}

void MgrCtrlPacketBuilder::buildQueryNameExtRetData(Buffer& out, int address, int result, unsigned long long mask,
                                                    const std::vector<std::string>& names)
{
    Shape::names<uint64_t>(out, kQueryNameExt, address, result, mask, names);
}

void MgrCtrlPacketBuilder::buildSetNameRetData(Buffer& out, int result, unsigned int mask)
{
    Shape::setName<uint32_t>(out, kSetName, result, mask);
}

void MgrCtrlPacketBuilder::buildSetNameExtRetData(Buffer& out, int result, unsigned long long mask)
{
    Shape::setName<uint64_t>(out, kSetNameExt, result, mask);
}

void MgrCtrlPacketBuilder::buildQueryEnergyRetData(Buffer& out, int address, int result, int type, unsigned int mask,
                                                   int startYear, int startMonth, int startDay, int startHour,
                                                   const EnergySeries& series)
{
    Shape::energy<uint32_t>(out, kQueryEnergy, address, result, type, mask, startYear, startMonth, startDay,
                            startHour, series);
}

void MgrCtrlPacketBuilder::buildQueryEnergyExtRetData(Buffer& out, int address, int result, int type,
                                                      unsigned long long mask, int startYear, int startMonth,
                                                      int startDay, int startHour, const EnergySeries& series)
{
    Shape::energy<uint64_t>(out, kQueryEnergyExt, address, result, type, mask, startYear, startMonth, startDay,
                            startHour, series);
}

}
