#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "DeviceStatus.h"
#include "DeviceThresholds.h"

struct _SlaveDevice;

namespace CascadeCtrl
{
// The master's record of each slave (the device record's slave map) and
// its slot in the SNMP mirror, as the identity and status polls keep them.
// A slave without a record changes nothing; the mirror has slots 1 to 4
// only, beyond them the record alone is kept.
class CascadeCtrlSlaveRecords
{
public:
    // The record of a slave, or null.
    static _SlaveDevice* find(int address);

    // An identity answer: names (key -1 the unit's) over the cached ones,
    // the inlet limits and firmware; the slave turns valid with the outlet
    // count its identity text gives (8 when the text gives none).
    static void storeIdentity(int address, const std::string& uid, const std::map<int, std::string>& names,
                              const _DeviceInputThreshold& inputThreshold, const std::string& firmware);

    // A status answer. parts: bit 0 states (stateBits wide), bit 1 the
    // environment, bit 2 the inlet; outlets by number, beyond the slave's
    // outlet count ignored.
    static void storeStatus(int address, uint8_t parts, uint64_t states, int stateBits, double temperature,
                            double humidity, const _DeviceInputStatus& inlet,
                            const std::map<int, _DeviceInputStatus>& outlets);

    // Misses an answer: no longer valid, in the record and in the mirror.
    static void markInvalid(int address);
};
}
