#include "MeterReading.h"

#include <cmath>

MeterReading::MeterReading(const _PowerModuleData& data)
    : voltage_(data.voltageInt * 100u + data.voltageFrac),
      current_(data.currentInt * 100u + data.currentFrac),
      power_(data.powerInt * 100u + data.powerFrac),
      energy_(static_cast<uint64_t>(data.energyInt) * 100u + data.energyFrac)
{
}

double MeterReading::factor() const
{
    if (voltage_ == 0 || current_ == 0)
        return 0;
    const double pf = watts() / (volts() * amps());
    const double rounded = std::floor(pf * 100 + 0.5) / 100;
    return rounded > 1.0 ? 1.0 : rounded;
}

bool MeterReading::acceptEnergy(uint32_t reference, int32_t& riseCount) const
{
    if (energy_ >= static_cast<uint64_t>(reference) + kMinRise)
    {
        if (++riseCount < kRisesToAccept)
            return false;
        riseCount = 0;
        return true;
    }
    riseCount = 0;
    return energy_ != reference;
}

int32_t MeterReading::scaled(double value, int scale)
{
    const double product = value * scale;
    if (std::isnan(product))
        return 0;
    if (product >= INT32_MAX)
        return INT32_MAX;
    if (product <= -INT32_MAX)
        return -INT32_MAX;
    return static_cast<int32_t>(std::llround(product));
}
