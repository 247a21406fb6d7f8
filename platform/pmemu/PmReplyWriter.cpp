#include "PmReplyWriter.h"

#include <algorithm>
#include <cmath>

namespace pmemu
{
namespace
{
void be16(PmReplyWriter::Bytes& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void be32(PmReplyWriter::Bytes& out, uint32_t v)
{
    be16(out, static_cast<uint16_t>(v >> 16));
    be16(out, static_cast<uint16_t>(v));
}
}

PmReplyWriter::Bytes PmReplyWriter::frame(uint8_t command, const Bytes& payload)
{
    Bytes out{0xA5, command};
    uint8_t sum = command;
    for (uint8_t b : payload)
    {
        out.push_back(b);
        sum = static_cast<uint8_t>(sum + b);
    }
    out.push_back(sum);
    return out;
}

void PmReplyWriter::splitHundredths(double value, uint16_t& whole, uint16_t& hundredths)
{
    whole = hundredths = 0;
    if (!std::isfinite(value) || value <= 0)
        return;
    const long long t = std::llround(std::min(value * 100.0, 65535.0 * 100.0 + 99.0));
    whole = static_cast<uint16_t>(t / 100);
    hundredths = static_cast<uint16_t>(t % 100);
}

PmReplyWriter::Bytes PmReplyWriter::meter(uint8_t port, const PmReading& reading)
{
    Bytes p{port};
    uint16_t whole, hundredths;
    for (double v : {reading.volts, reading.amps, reading.watts})
    {
        splitHundredths(v, whole, hundredths);
        be16(p, whole);
        be16(p, hundredths);
    }
    // The whole-kWh field is 32 bits wide; the counter wraps like the module's.
    be32(p, static_cast<uint32_t>(reading.energyHundredths / 100));
    be16(p, static_cast<uint16_t>(reading.energyHundredths % 100));
    return frame(1, p);
}

PmReplyWriter::Bytes PmReplyWriter::relay(uint8_t port, uint8_t action, uint8_t result)
{
    return frame(2, {port, action, result});
}

PmReplyWriter::Bytes PmReplyWriter::outputStatus(uint8_t count, uint8_t onBits, uint8_t calibratedBits)
{
    return frame(3, {count, onBits, calibratedBits});
}

PmReplyWriter::Bytes PmReplyWriter::caliParams(uint16_t voltage, uint16_t current, uint16_t power, uint8_t result)
{
    Bytes p;
    be16(p, voltage);
    be16(p, current);
    be16(p, power);
    p.push_back(result);
    return frame(4, p);
}

PmReplyWriter::Bytes PmReplyWriter::transferResult(uint8_t result)
{
    return frame(5, {result});
}

PmReplyWriter::Bytes PmReplyWriter::calibrateResult(uint8_t port, uint8_t result)
{
    return frame(6, {port, result});
}
}
