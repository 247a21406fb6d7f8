#include "DataConverter.h"

#include <cmath>
#include <cstdint>

#include "Utility.h"

namespace
{
const double kInvalid = 2147483648.0;

bool isInvalid(double v) { return Utility::isInvalidDoubleValue(v); }

// Truncates toward zero and keeps the low 32 bits, as the unit's integer
// conversion does; a plain cast of an out-of-range double would be undefined.
uint32_t low32(double product)
{
    // A limit near the largest double overflows to infinity once scaled.
    if (!std::isfinite(product))
        return 0;
    double t = std::fmod(std::trunc(product), 4294967296.0);
    if (t < 0)
        t += 4294967296.0;
    return static_cast<uint32_t>(t);
}

uint32_t toUnsigned(double product) { return product > 0 ? low32(product) : 0; }
}

double DataConverter::VoltageIntToDouble(unsigned short value)
{
    return value == 0xFFFF ? kInvalid : value * 0.1;
}

double DataConverter::CurrentIntToDouble(unsigned short value)
{
    return value == 0xFFFF ? kInvalid : value * 0.01;
}

double DataConverter::PowerIntToDouble(unsigned int value) { return value * 0.1; }
double DataConverter::FactorIntToDouble(unsigned short value) { return value * 0.01; }
double DataConverter::EnergyIntToDouble(unsigned int value) { return value * 0.01; }

double DataConverter::TempIntToDouble(short value)
{
    return value == -32768 ? kInvalid : value * 0.1;
}

double DataConverter::HumiIntToDouble(unsigned short value)
{
    return value == 0x8000 ? kInvalid : value * 0.1;
}

unsigned short DataConverter::VoltageDoubleToInt(double value)
{
    return isInvalid(value) ? 0xFFFF : static_cast<unsigned short>(toUnsigned(value * 10.0));
}

unsigned short DataConverter::CurrentDoubleToInt(double value)
{
    return isInvalid(value) ? 0xFFFF : static_cast<unsigned short>(toUnsigned(value * 100.0));
}

unsigned int DataConverter::PowerDoubleToInt(double value) { return toUnsigned(value * 10.0); }

unsigned short DataConverter::FactorDoubleToInt(double value)
{
    return static_cast<unsigned short>(toUnsigned(value * 100.0));
}

unsigned int DataConverter::EnergyDoubleToInt(double value) { return toUnsigned(value * 100.0); }

short DataConverter::TempDoubleToInt(double value)
{
    if (isInvalid(value))
        return -32768;
    return static_cast<short>(static_cast<uint16_t>(low32(value * 10.0)));
}

unsigned short DataConverter::HumiDoubleToInt(double value)
{
    return isInvalid(value) ? 0x8000 : static_cast<unsigned short>(toUnsigned(value * 10.0));
}

int DataConverter::DelayNetToLocal(unsigned short value) { return value == 0xFFFF ? -1 : value; }
