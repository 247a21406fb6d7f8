#include "PowerModulePacketBuilder.h"

#include <cstring>

#include "PowerModuleTypes.h"
#include "muduo/net/Buffer.h"
#include "netext/WireWriter.h"

using muduo::net::Buffer;
using muduo::net::WireWriter;

namespace
{
// Copies a payload assembled by WireWriter into a framed request.
int emit(unsigned char* out, int size, unsigned char cmd, const Buffer& payload)
{
    return PowerModulePacketBuilder::buildPacket(out, size, cmd,
                                                 reinterpret_cast<const unsigned char*>(payload.peek()),
                                                 static_cast<int>(payload.readableBytes()));
}

// A port wider than a byte travels as its low 8 bits.
uint8_t portByte(int port) { return static_cast<uint8_t>(port & 0xFF); }
}

int PowerModulePacketBuilder::buildPacket(unsigned char* out, int size, unsigned char cmd, const unsigned char* data,
                                          int len)
{
    if (!out || len < 0 || (len > 0 && !data) || static_cast<long long>(len) + 3 > size)
        return -1;
    uint8_t sum = cmd;
    for (int i = 0; i < len; ++i)
        sum = static_cast<uint8_t>(sum + data[i]);
    Buffer frame;
    WireWriter w(frame);
    w.u8(powermodule::kHeader).u8(cmd).bytes(data, static_cast<size_t>(len)).u8(sum);
    ::memcpy(out, frame.peek(), frame.readableBytes());
    return len + 3;
}

int PowerModulePacketBuilder::buildMeterDataQueryPacket(unsigned char* out, int size, int port)
{
    Buffer payload;
    WireWriter(payload).u8(portByte(port));
    return emit(out, size, powermodule::kMeterData, payload);
}

int PowerModulePacketBuilder::buildRelayControlPacket(unsigned char* out, int size, int port, unsigned char action)
{
    Buffer payload;
    WireWriter(payload).u8(portByte(port)).u8(action);
    return emit(out, size, powermodule::kRelayControl, payload);
}

int PowerModulePacketBuilder::buildOutputStatusQueryPacket(unsigned char* out, int size)
{
    return buildPacket(out, size, powermodule::kOutputStatus, nullptr, 0);
}

int PowerModulePacketBuilder::buildRequestCaliParamPacket(unsigned char* out, int size)
{
    return buildPacket(out, size, powermodule::kRequestCaliParam, nullptr, 0);
}

int PowerModulePacketBuilder::buildTransferCaliParamPacket(unsigned char* out, int size, unsigned short caliVoltage,
                                                           unsigned short caliCurrent, unsigned short caliPower)
{
    Buffer payload;
    WireWriter(payload).be16(caliVoltage).be16(caliCurrent).be16(caliPower);
    return emit(out, size, powermodule::kTransferCaliParam, payload);
}

int PowerModulePacketBuilder::buildStartCalibrate(unsigned char* out, int size, int port)
{
    Buffer payload;
    WireWriter(payload).u8(portByte(port));
    return emit(out, size, powermodule::kStartCalibrate, payload);
}
