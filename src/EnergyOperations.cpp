#include "EnergyOperations.h"

#include <cstdint>

#include "EnergyDatabase.h"
#include "GlobalData.h"
#include "muduo/base/Logging.h"
#include "netext/MaskTraits.h"

namespace
{
const int kInletPort = 255;
}

bool EnergyOperations::clear()
{
    _Device& device = GlobalData::getDevice();
    const int outlets = device.portCount < 0 ? 0 : device.portCount;
    std::vector<int> ports;
    for (int port = 0; port < outlets && port < _DeviceStatus::kPortSlots; ++port)
        ports.push_back(port);
    ports.push_back(kInletPort);
    if (!database_.clearEnergy(ports))
        return false;
    for (size_t port = 0; port + 1 < ports.size(); ++port)
    {
        device.status.outputs[port].energy = 0;
        if (static_cast<int>(port) < device.slotCount())
            device.energy[port].realEnergy = 0;
    }
    device.energy[_Device::kInletEnergyIndex].realEnergy = 0;
    device.status.input.energy = 0;
    LOG_INFO << "clear energy ok";
    return true;
}

template <typename M>
bool EnergyOperations::queryStatistics(int type, M& mask, int timeZone, int year, int month, int day, int hour,
                                       int spans, Series& out)
{
    typedef MaskTraits<M> Traits;
    const int outlets = GlobalData::getDevice().portCount;
    const M low = outlets >= Traits::kWidth ? static_cast<M>(~M(0))
                                            : (outlets < 1 ? M(0) : static_cast<M>((M(1) << outlets) - 1));
    mask &= static_cast<M>(low | Traits::kTopBit);
    const bool inlet = (mask & Traits::kTopBit) != 0;
    const unsigned long long outletMask = static_cast<unsigned long long>(mask & low);
    switch (type)
    {
    case 1:
        return database_.loadEnergyStatisticsByHour(inlet, outletMask, year, month, day, hour, spans, out);
    case 2:
        return database_.loadEnergyStatisticsByDay(inlet, outletMask, timeZone, year, month, day, hour, spans, out);
    case 3:
        return database_.loadEnergyStatisticsByMonth(inlet, outletMask, timeZone, year, month, day, hour, spans, out);
    default:
        LOG_WARN << "energy statistics of unknown type " << type << " refused";
        return false;
    }
}

template bool EnergyOperations::queryStatistics<uint32_t>(int, uint32_t&, int, int, int, int, int, int, Series&);
template bool EnergyOperations::queryStatistics<uint64_t>(int, uint64_t&, int, int, int, int, int, int, Series&);
