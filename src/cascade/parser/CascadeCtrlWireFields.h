#pragma once
#include <cstddef>
#include <cstdint>

struct _DeviceInputStatus;
struct _DeviceNetwork;
struct PingSetting;
namespace muduo
{
namespace net
{
class WireReader;
class WireWriter;
}
}

namespace CascadeCtrl
{
// Field encodings that several cascade payloads share, both directions.
class CascadeCtrlWireFields
{
public:
    // Names, NetBIOS names and remarks: zero-padded, cut at 16 bytes.
    static constexpr size_t kTextLength = 16;
    static constexpr size_t kNetworkRecordLength = 40;
    static constexpr size_t kPingRecordLength = 8;

    // Low 8 bits of year - 2000 (2024 gives 0x18, 1999 0xFF), for any year.
    static uint8_t yearByte(int year);

    // A temperature or humidity limit in 0.1 units, signed 16 bits. The
    // invalid value (and NaN) travels as -32768; other values are truncated
    // and held to -32767..32767 instead of wrapping.
    static int16_t limitToWire(double value);
    // -32768 gives the invalid value, anything else value times 0.1.
    static double limitFromWire(int16_t value);

    // The 40-byte interface record, on the cascade line and in the
    // manage-control requests and answers alike. The record's index is not
    // sent.
    static void writeNetwork(muduo::net::WireWriter& w, const _DeviceNetwork& network);
    static bool readNetwork(muduo::net::WireReader& r, _DeviceNetwork& network);
    // One address word of that record. The word on the wire is the unit's
    // memory word holding the address in network order, sent big-endian, so
    // the dotted numbers travel last first: 192.168.1.10 (0xC0A8010A here)
    // as 0A 01 A8 C0. The watchdog and scan records keep the dotted order.
    static void writeNetworkAddress(muduo::net::WireWriter& w, uint32_t address);
    static bool readNetworkAddress(muduo::net::WireReader& r, uint32_t& address);

    // The 8-byte watchdog record: host big-endian (dotted numbers in order),
    // then interval, timeout, action, enabled as their low 8 bits. The port
    // is not sent.
    static void writePing(muduo::net::WireWriter& w, const PingSetting& setting);
    static bool readPing(muduo::net::WireReader& r, PingSetting& setting);

    // One 14-byte reading of the inlet or an outlet: voltage (0.1 V) and
    // current (0.01 A) 16 bits, power (0.1 W) 32, factor (0.01) 16, energy
    // (0.01 kWh) 32; a missing voltage or current travels as 0xFFFF.
    static constexpr size_t kMeterLength = 14;
    static void writeMeter(muduo::net::WireWriter& w, const _DeviceInputStatus& reading);
    static bool readMeter(muduo::net::WireReader& r, _DeviceInputStatus& reading);
};
}
