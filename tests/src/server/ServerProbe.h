#pragma once
// Reading what the handlers left in the Modbus tables, as a client would.
#include <cstdint>
#include <string>
#include <vector>

#include "PduServer.h"
#include "modbus/ModbusController.h"
#include "modbus/ModbusTypes.h"
#include "muduo/net/Buffer.h"

namespace probe
{
// Function code 4 (input registers) or 2 (discrete inputs) at a client's
// address; empty on an exception reply.
inline std::vector<uint16_t> read(PduServer& server, uint8_t functionCode, int start, int count)
{
    modbus::ReqInfo_ info;
    info.functionCode = functionCode;
    const char pdu[4] = {static_cast<char>(start >> 8), static_cast<char>(start & 0xFF),
                         static_cast<char>(count >> 8), static_cast<char>(count & 0xFF)};
    muduo::net::Buffer reply;
    server.getModbusController()->respond(&info, pdu, 4, reply);
    const std::string bytes = reply.retrieveAllAsString();
    std::vector<uint16_t> out;
    if (bytes.size() < 9 || (static_cast<uint8_t>(bytes[7]) & 0x80))
        return out;
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data()) + 9;
    const size_t n = bytes.size() - 9;
    if (functionCode == 2)
        for (int i = 0; i < count; ++i)
            out.push_back((p[i / 8] >> (i % 8)) & 1);
    else
        for (size_t i = 0; i + 1 < n; i += 2)
            out.push_back(static_cast<uint16_t>(p[i] << 8 | p[i + 1]));
    return out;
}

inline std::vector<uint16_t> inputRegisters(PduServer& s, int start, int count) { return read(s, 4, start, count); }
inline std::vector<uint16_t> discreteInputs(PduServer& s, int start, int count) { return read(s, 2, start, count); }

// Client addresses of the outlet blocks.
inline int outletVoltage(int outlet) { return 7 + outlet; }
inline int outletCurrent(int outlet) { return 207 + outlet; }
inline int outletPower(int outlet) { return 407 + outlet; }
inline int outletFactor(int outlet) { return 607 + outlet; }
inline int outletEnergy(int outlet) { return 807 + 2 * outlet; }
const int kTemperature = 1207;
const int kHumidity = 1208;
}
