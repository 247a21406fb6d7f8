#pragma once
#include <cstdint>

#include "PowerModuleTypes.h"

// One meter reading of the power module in exact integer units, with the
// rules that decide what of it the live status believes. Every value the
// live status keeps lies on a grid of 0.1 or 0.01, so its scaled integer is
// recovered by rounding, never by truncating a product that may fall just
// below the grid point.
class MeterReading
{
public:
    static constexpr uint32_t kMinRise = 10;      // hundredths of a kWh
    static constexpr int kRisesToAccept = 3;      // readings in a row
    static constexpr uint32_t kNoCurrent = 10;    // 0.1 A and below is no load
    static constexpr uint32_t kOutletMaxAmps = 20;

    explicit MeterReading(const _PowerModuleData& data);

    double volts() const { return voltage_ * 0.01; }
    double amps() const { return current_ * 0.01; }
    double watts() const { return power_ * 0.01; }
    uint32_t currentHundredths() const { return current_; }
    uint32_t powerHundredths() const { return power_; }
    uint64_t energy() const { return energy_; }  // hundredths of a kWh
    // False when the counter does not fit the 32-bit energy counters.
    bool energyFits() const { return energy_ <= UINT32_MAX; }

    double roundedVolts() const { return roundTo10(voltage_) * 0.1; }
    double currentTwoDecimals() const { return current_ * 0.01; }
    double roundedWatts() const { return roundTo10(power_) * 0.1; }
    // W / (V x A) rounded to two decimals and at most 1.0; 0 without V or A.
    double factor() const;

    // Whether the counter reading is to be believed against the reference;
    // a rise of kMinRise or more only on its kRisesToAccept-th reading in a
    // row, a fall or small rise at once, an equal reading never.
    bool acceptEnergy(uint32_t reference, int32_t& riseCount) const;

    // The integer of value x scale (10 or 100) for the mirror and registers;
    // 0 for NaN, saturated at +-INT32_MAX.
    static int32_t scaled(double value, int scale);

private:
    static uint32_t roundTo10(uint32_t hundredths) { return (hundredths + 5) / 10; }

    uint32_t voltage_;  // hundredths
    uint32_t current_;
    uint32_t power_;
    uint64_t energy_;
};
