#pragma once
#include <functional>
#include <vector>

#include "modbus/ModbusTypes.h"
#include "muduo/base/noncopyable.h"

namespace muduo
{
namespace net
{
class Buffer;
class WireReader;
}
}

namespace modbus
{
// The slave's four data tables and the execution of one request on them.
// Every request field is read only when the frame holds it; a short request
// is an illegal data value and changes nothing.
class ModbusModule : muduo::noncopyable
{
public:
    // (states from the first written coil, first coil, count); false when
    // the write was refused: the coils keep their states and the client
    // gets a server device failure.
    typedef std::function<bool(const unsigned char* states, int first, int count)> CoilWriteCallback;

    ModbusModule();

    // Replaces the tables with zero-filled ones, each starting at address 0.
    void allocMem(int coils, int discreteInputs, int holdingRegisters, int inputRegisters);

    // Copy into a table; false (nothing written) unless the whole range fits.
    bool setInputRegisters(int address, const unsigned short* values, int count);
    bool setHoldingRegisters(int address, const unsigned short* values, int count);
    bool setInputBits(int address, const unsigned char* values, int count);

    void setCoilWriteCallback(CoilWriteCallback cb) { coilWriteCallback_ = std::move(cb); }

    // pdu: the length bytes after the function code; start overrides the
    // address field (the controller maps virtual addresses).
    void respond(const ReqInfo_* info, short start, const char* pdu, int length, muduo::net::Buffer& reply);
    void respondErrcode(const ReqInfo_* info, ModbusExceptionCode code, muduo::net::Buffer& reply);

    int inputRegisterCount() const { return static_cast<int>(inputRegisters_.table.size()); }
    int coilCount() const { return static_cast<int>(coils_.table.size()); }
    const unsigned char* coils() const { return coils_.table.data(); }

private:
    template <typename T>
    struct Table
    {
        int start = 0;
        std::vector<T> table;

        bool set(int address, const T* values, int count);
        // The offset of [address, address + count) when it lies inside.
        bool range(int address, int count, int& offset) const;
    };

    void readBits(const ReqInfo_* info, short start, muduo::net::WireReader& in, muduo::net::Buffer& reply);
    void readRegisters(const ReqInfo_* info, const Table<unsigned short>& table, short start,
                       muduo::net::WireReader& in, muduo::net::Buffer& reply);
    void writeCoil(const ReqInfo_* info, short start, muduo::net::WireReader& in, muduo::net::Buffer& reply);
    void writeCoils(const ReqInfo_* info, short start, muduo::net::WireReader& in, muduo::net::Buffer& reply);
    // Hands the states to the callback and keeps them unless it refuses.
    bool writeCoilStates(const unsigned char* states, int offset, int count);
    // The MBAP header and function code of a reply with dataLength bytes of data.
    static void appendHeader(const ReqInfo_* info, uint8_t functionCode, int dataLength, muduo::net::Buffer& reply);

    Table<unsigned char> coils_;
    Table<unsigned char> discreteInputs_;
    Table<unsigned short> holdingRegisters_;
    Table<unsigned short> inputRegisters_;
    CoilWriteCallback coilWriteCallback_;
};
}
