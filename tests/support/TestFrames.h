#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Frames of the serial and config-port protocols, as the far side sends them.
namespace test
{
typedef std::vector<unsigned char> Bytes;

// A config-port request: 0xA4, the length of code and data, the code, the data.
std::string configFrame(uint8_t code, const std::string& data);
// A 16-byte text field of a config-port request: cut at 16, padded with zeros.
std::string configField(const std::string& text);
// A power-module frame with its header and checksum, built by the daemon's own builder.
Bytes pmFrame(unsigned char cmd, const Bytes& payload);
// A manage-control frame: 0xA4, the checksum flag, the checksum (the data's
// byte sum unless given), the 32-bit data length, the data.
std::string mgrCtrlFrame(uint8_t flag, const std::string& data, int checksum = -1);
// "A4 01 00" for the bytes; what golden tables compare.
std::string hexBytes(const std::string& bytes);
// The bytes of hexadecimal text such as "2E 00 0A" or "2E000A": spaces
// anywhere, two digits a byte.
std::string bytesOfHex(const std::string& hex);

// A cascade frame written independently of the daemon's builder (bitwise
// CRC-8/SMBUS), and its reader: false unless bytes hold exactly one valid frame.
Bytes cascadeFrame(uint8_t address, uint16_t sequence, const Bytes& payload);
bool decodeCascadeFrame(const Bytes& bytes, uint8_t& address, uint16_t& sequence, Bytes& payload);
}
