#include "cascade/parser/CascadeCtrlWireFields.h"

#include <cmath>

#include "DataConverter.h"
#include "DeviceTypes.h"
#include "Utility.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
uint8_t CascadeCtrlWireFields::yearByte(int year)
{
    return static_cast<uint8_t>(static_cast<unsigned int>(year) + 48u);
}

int16_t CascadeCtrlWireFields::limitToWire(double value)
{
    if (std::isnan(value) || Utility::isInvalidDoubleValue(value))
        return -32768;
    const double tenths = std::trunc(value * 10.0);
    if (tenths > 32767.0)
        return 32767;
    if (tenths < -32767.0)
        return -32767;
    return static_cast<int16_t>(tenths);
}

double CascadeCtrlWireFields::limitFromWire(int16_t value)
{
    return value == -32768 ? Utility::kInvalidDoubleValue : value * 0.1;
}

void CascadeCtrlWireFields::writeNetworkAddress(muduo::net::WireWriter& w, uint32_t address)
{
    w.be32(__builtin_bswap32(address));
}

bool CascadeCtrlWireFields::readNetworkAddress(muduo::net::WireReader& r, uint32_t& address)
{
    uint32_t word = 0;
    if (!r.be32(word))
        return false;
    address = __builtin_bswap32(word);
    return true;
}

void CascadeCtrlWireFields::writeNetwork(muduo::net::WireWriter& w, const _DeviceNetwork& n)
{
    writeNetworkAddress(w, n.ip);
    writeNetworkAddress(w, n.mask);
    writeNetworkAddress(w, n.gateway);
    w.u8(n.dhcp)
        .bytes(n.mac, sizeof n.mac)
        .text(kTextLength, n.netbiosName)
        .be16(n.httpPort)
        .be16(n.httpsPort)
        .u8(n.enableRedirect);
}

bool CascadeCtrlWireFields::readNetwork(muduo::net::WireReader& r, _DeviceNetwork& n)
{
    if (r.remaining() < kNetworkRecordLength)
        return false;
    readNetworkAddress(r, n.ip);
    readNetworkAddress(r, n.mask);
    readNetworkAddress(r, n.gateway);
    r.u8(n.dhcp);
    r.bytes(n.mac, sizeof n.mac);
    r.text(kTextLength, n.netbiosName);
    r.be16(n.httpPort);
    r.be16(n.httpsPort);
    return r.u8(n.enableRedirect);
}

void CascadeCtrlWireFields::writePing(muduo::net::WireWriter& w, const PingSetting& s)
{
    w.be32(s.ip)
        .u8(static_cast<uint8_t>(s.interval))
        .u8(static_cast<uint8_t>(s.timeout))
        .u8(static_cast<uint8_t>(s.action))
        .u8(static_cast<uint8_t>(s.enabled));
}

bool CascadeCtrlWireFields::readPing(muduo::net::WireReader& r, PingSetting& s)
{
    uint8_t interval = 0, timeout = 0, action = 0, enabled = 0;
    if (r.remaining() < kPingRecordLength)
        return false;
    r.be32(s.ip);
    r.u8(interval);
    r.u8(timeout);
    r.u8(action);
    r.u8(enabled);
    s.interval = interval;
    s.timeout = timeout;
    s.action = action;
    s.enabled = enabled;
    return true;
}

void CascadeCtrlWireFields::writeMeter(muduo::net::WireWriter& w, const _DeviceInputStatus& m)
{
    w.be16(DataConverter::VoltageDoubleToInt(m.voltage))
        .be16(DataConverter::CurrentDoubleToInt(m.current))
        .be32(DataConverter::PowerDoubleToInt(m.power))
        .be16(DataConverter::FactorDoubleToInt(m.factor))
        .be32(DataConverter::EnergyDoubleToInt(m.energy));
}

bool CascadeCtrlWireFields::readMeter(muduo::net::WireReader& r, _DeviceInputStatus& m)
{
    uint16_t voltage = 0, current = 0, factor = 0;
    uint32_t power = 0, energy = 0;
    if (r.remaining() < kMeterLength)
        return false;
    r.be16(voltage);
    r.be16(current);
    r.be32(power);
    r.be16(factor);
    r.be32(energy);
    m.voltage = DataConverter::VoltageIntToDouble(voltage);
    m.current = DataConverter::CurrentIntToDouble(current);
    m.power = DataConverter::PowerIntToDouble(power);
    m.factor = DataConverter::FactorIntToDouble(factor);
    m.energy = DataConverter::EnergyIntToDouble(energy);
    return true;
}
}
