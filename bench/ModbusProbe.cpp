#include "ModbusProbe.h"

#include <modbus.h>

#include <cerrno>

ModbusProbe::ModbusProbe(const std::string& host, int port, double timeoutSeconds)
    : ctx_(modbus_new_tcp(host.c_str(), port)), connected_(false)
{
    if (!ctx_)
    {
        lastError_ = "modbus_new_tcp failed";
        return;
    }
    uint32_t sec = static_cast<uint32_t>(timeoutSeconds);
    uint32_t usec = static_cast<uint32_t>((timeoutSeconds - sec) * 1e6);
    modbus_set_response_timeout(ctx_, sec, usec);
}

ModbusProbe::~ModbusProbe()
{
    close();
    if (ctx_)
        modbus_free(ctx_);
}

bool ModbusProbe::connect()
{
    if (!ctx_)
        return false;
    close();
    if (modbus_connect(ctx_) != 0)
    {
        lastError_ = modbus_strerror(errno);
        return false;
    }
    connected_ = true;
    return true;
}

void ModbusProbe::close()
{
    if (ctx_ && connected_)
        modbus_close(ctx_);
    connected_ = false;
}

bool ModbusProbe::readInputRegisters(int address, int count, uint16_t* values)
{
    if (!connected_)
        return false;
    if (modbus_read_input_registers(ctx_, address, count, values) == count)
        return true;
    lastError_ = modbus_strerror(errno);
    return false;
}
