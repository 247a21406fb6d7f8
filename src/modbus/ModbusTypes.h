#pragma once
#include <cstdint>

namespace modbus
{
// The request header: MBAP transaction, protocol and unit ids and the function code.
struct ReqInfo_
{
    uint16_t transactionId = 0;
    uint16_t protocolId = 0;
    uint8_t unitId = 0;
    uint8_t functionCode = 0;
};

enum ModbusExceptionCode
{
    kIllegalFunction = 1,
    kIllegalDataAddress = 2,
    kIllegalDataValue = 3,
    kServerDeviceFailure = 4,
};

enum ModbusFunctionCode
{
    kReadDiscreteInputs = 2,
    kReadHoldingRegisters = 3,
    kReadInputRegisters = 4,
    kWriteSingleCoil = 5,
    kWriteMultipleCoils = 15,
};
}
