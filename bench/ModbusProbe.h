#pragma once
#include <cstdint>
#include <string>

typedef struct _modbus modbus_t;

// One Modbus/TCP client connection on its own libmodbus context.
class ModbusProbe
{
public:
    ModbusProbe(const std::string& host, int port, double timeoutSeconds = 1.0);
    ~ModbusProbe();
    ModbusProbe(const ModbusProbe&) = delete;
    ModbusProbe& operator=(const ModbusProbe&) = delete;

    bool connect();
    void close();
    bool connected() const { return connected_; }
    // True when a normal answer with count registers came back.
    bool readInputRegisters(int address, int count, uint16_t* values);
    std::string lastError() const { return lastError_; }

private:
    modbus_t* ctx_;
    bool connected_;
    std::string lastError_;
};
