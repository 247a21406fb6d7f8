// Meter readings of any field values, one after another against the same
// counters: the acceptance rules and conversions must hold for all of them.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "MeterReading.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    uint32_t reference = 0;
    int32_t rises = 0;
    for (size_t at = 0; at + sizeof(_PowerModuleData) <= size; at += sizeof(_PowerModuleData))
    {
        _PowerModuleData d;
        std::memcpy(&d, data + at, sizeof d);
        const MeterReading r(d);
        if (!r.energyFits())
            continue;
        if (r.acceptEnergy(reference, rises))
            reference = static_cast<uint32_t>(r.energy());
        if (rises < 0 || rises >= MeterReading::kRisesToAccept)
            __builtin_trap();
        const double factor = r.factor();
        if (factor < 0 || factor > 1.0)
            __builtin_trap();
        MeterReading::scaled(r.roundedVolts(), 10);
        MeterReading::scaled(r.roundedWatts(), 10);
        MeterReading::scaled(r.amps(), 100);
        MeterReading::scaled(factor, 100);
    }
    return 0;
}
