#include "modbus/ModbusModule.h"

#include <algorithm>

#include "muduo/net/Buffer.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

using muduo::net::Buffer;
using muduo::net::WireReader;
using muduo::net::WireWriter;

namespace modbus
{
namespace
{
const int kMaxReadBits = 2000;
const int kMaxReadRegisters = 123;
const int kMaxWriteCoils = 1968;
const uint16_t kCoilOn = 0xFF00;
const uint16_t kCoilOff = 0x0000;
}

template <typename T>
bool ModbusModule::Table<T>::range(int address, int count, int& offset) const
{
    long first = static_cast<long>(address) - start;
    if (first < 0 || count < 0 || first + count > static_cast<long>(table.size()))
        return false;
    offset = static_cast<int>(first);
    return true;
}

template <typename T>
bool ModbusModule::Table<T>::set(int address, const T* values, int count)
{
    int offset = 0;
    if (!values || !range(address, count, offset))
        return false;
    std::copy(values, values + count, table.begin() + offset);
    return true;
}

ModbusModule::ModbusModule() = default;

void ModbusModule::allocMem(int coils, int discreteInputs, int holdingRegisters, int inputRegisters)
{
    coils_.table.assign(static_cast<size_t>(std::max(coils, 0)), 0);
    discreteInputs_.table.assign(static_cast<size_t>(std::max(discreteInputs, 0)), 0);
    holdingRegisters_.table.assign(static_cast<size_t>(std::max(holdingRegisters, 0)), 0);
    inputRegisters_.table.assign(static_cast<size_t>(std::max(inputRegisters, 0)), 0);
}

bool ModbusModule::setInputRegisters(int address, const unsigned short* values, int count)
{
    return inputRegisters_.set(address, values, count);
}

bool ModbusModule::setHoldingRegisters(int address, const unsigned short* values, int count)
{
    return holdingRegisters_.set(address, values, count);
}

bool ModbusModule::setInputBits(int address, const unsigned char* values, int count)
{
    return discreteInputs_.set(address, values, count);
}

void ModbusModule::respond(const ReqInfo_* info, short start, const char* pdu, int length, Buffer& reply)
{
    WireReader in(pdu, length > 0 ? static_cast<size_t>(length) : 0);
    switch (info->functionCode)
    {
    case kReadDiscreteInputs:
        readBits(info, start, in, reply);
        break;
    case kReadHoldingRegisters:
        readRegisters(info, holdingRegisters_, start, in, reply);
        break;
    case kReadInputRegisters:
        readRegisters(info, inputRegisters_, start, in, reply);
        break;
    case kWriteSingleCoil:
        writeCoil(info, start, in, reply);
        break;
    case kWriteMultipleCoils:
        writeCoils(info, start, in, reply);
        break;
    default:
        respondErrcode(info, kIllegalFunction, reply);
        break;
    }
}

void ModbusModule::respondErrcode(const ReqInfo_* info, ModbusExceptionCode code, Buffer& reply)
{
    appendHeader(info, static_cast<uint8_t>(info->functionCode | 0x80), 1, reply);
    WireWriter(reply).u8(static_cast<uint8_t>(code));
}

void ModbusModule::appendHeader(const ReqInfo_* info, uint8_t functionCode, int dataLength, Buffer& reply)
{
    WireWriter out(reply);
    out.be16(info->transactionId).be16(info->protocolId).be16(static_cast<uint16_t>(dataLength + 2));
    out.u8(info->unitId).u8(functionCode);
}

void ModbusModule::readBits(const ReqInfo_* info, short start, WireReader& in, Buffer& reply)
{
    uint16_t quantity = 0;
    int offset = 0;
    if (!in.skip(2) || !in.be16(quantity) || quantity < 1 || quantity > kMaxReadBits)
        return respondErrcode(info, kIllegalDataValue, reply);
    if (!discreteInputs_.range(start, quantity, offset))
        return respondErrcode(info, kIllegalDataAddress, reply);

    int byteCount = (quantity + 7) / 8;
    appendHeader(info, info->functionCode, 1 + byteCount, reply);
    WireWriter out(reply);
    out.u8(static_cast<uint8_t>(byteCount));
    for (int b = 0; b < byteCount; ++b)
    {
        uint8_t packed = 0;
        for (int bit = 0; bit < 8 && b * 8 + bit < quantity; ++bit)
            if (discreteInputs_.table[static_cast<size_t>(offset + b * 8 + bit)])
                packed = static_cast<uint8_t>(packed | (1u << bit));
        out.u8(packed);
    }
}

void ModbusModule::readRegisters(const ReqInfo_* info, const Table<unsigned short>& table, short start,
                                 WireReader& in, Buffer& reply)
{
    uint16_t quantity = 0;
    int offset = 0;
    if (!in.skip(2) || !in.be16(quantity) || quantity < 1 || quantity > kMaxReadRegisters)
        return respondErrcode(info, kIllegalDataValue, reply);
    if (!table.range(start, quantity, offset))
        return respondErrcode(info, kIllegalDataAddress, reply);

    appendHeader(info, info->functionCode, 1 + 2 * quantity, reply);
    WireWriter out(reply);
    out.u8(static_cast<uint8_t>(2 * quantity));
    for (int i = 0; i < quantity; ++i)
        out.be16(table.table[static_cast<size_t>(offset + i)]);
}

void ModbusModule::writeCoil(const ReqInfo_* info, short start, WireReader& in, Buffer& reply)
{
    uint16_t address = 0;
    uint16_t value = 0;
    int offset = 0;
    if (!in.be16(address) || !in.be16(value))
        return respondErrcode(info, kIllegalDataValue, reply);
    if (!coils_.range(start, 1, offset))
        return respondErrcode(info, kIllegalDataAddress, reply);
    if (value != kCoilOn && value != kCoilOff)
        return respondErrcode(info, kIllegalDataValue, reply);

    const unsigned char state = value == kCoilOn ? 1 : 0;
    if (!writeCoilStates(&state, offset, 1))
        return respondErrcode(info, kServerDeviceFailure, reply);
    appendHeader(info, info->functionCode, 4, reply);
    WireWriter(reply).be16(address).be16(value);
}

void ModbusModule::writeCoils(const ReqInfo_* info, short start, WireReader& in, Buffer& reply)
{
    uint16_t address = 0;
    uint16_t quantity = 0;
    uint8_t byteCount = 0;
    int offset = 0;
    // The byte count must cover the quantity and the frame must hold its bytes.
    if (!in.be16(address) || !in.be16(quantity) || !in.u8(byteCount) || quantity < 1 ||
        quantity > kMaxWriteCoils || quantity > 8 * byteCount || in.remaining() < byteCount)
        return respondErrcode(info, kIllegalDataValue, reply);
    if (!coils_.range(start, quantity, offset))
        return respondErrcode(info, kIllegalDataAddress, reply);

    unsigned char states[kMaxWriteCoils];
    uint8_t packed = 0;
    for (int i = 0; i < quantity; ++i)
    {
        if (i % 8 == 0)
            in.u8(packed);
        states[i] = (packed >> (i % 8)) & 1;
    }
    if (!writeCoilStates(states, offset, quantity))
        return respondErrcode(info, kServerDeviceFailure, reply);
    appendHeader(info, info->functionCode, 4, reply);
    WireWriter(reply).be16(address).be16(quantity);
}

bool ModbusModule::writeCoilStates(const unsigned char* states, int offset, int count)
{
    if (coilWriteCallback_ && !coilWriteCallback_(states, offset, count))
        return false;
    std::copy(states, states + count, coils_.table.begin() + offset);
    return true;
}
}
