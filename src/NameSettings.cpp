#include "NameSettings.h"

#include <cstdint>

#include "muduo/base/Logging.h"

bool NameSettings::save(const std::map<int, std::string>& names)
{
    std::map<int, std::string> kept;
    for (const auto& entry : names)
    {
        if (entry.first == kUnitName || LocalOutlets::contains(entry.first))
            kept.insert(entry);
        else
            LOG_WARN << "name of outlet " << entry.first << " dropped: not an outlet of this unit";
    }
    if (kept.empty() || !GlobalData::saveNamesToDb(kept))
        return false;
    _Device& device = GlobalData::getDevice();
    for (const auto& entry : kept)
        (entry.first == kUnitName ? device.deviceName : device.portNames[static_cast<size_t>(entry.first)]) =
            entry.second;
    return true;
}

template <typename M>
bool NameSettings::saveMasked(M& mask, std::vector<std::string>& names)
{
    typedef MaskTraits<M> Traits;
    std::map<int, std::string> kept;
    std::vector<std::string> stored;
    size_t next = 0;
    for (int bit = 0; bit < Traits::kWidth; ++bit)
    {
        if (!Traits::test(mask, bit))
            continue;
        if (next == names.size())
        {
            LOG_WARN << "set names refused: fewer names than the mask selects";
            return false;
        }
        const std::string& name = names[next++];
        const int key = bit == Traits::kLastOutlet ? kUnitName : bit;
        if (key == kUnitName || LocalOutlets::contains(key))
        {
            kept[key] = name;
            stored.push_back(name);
        }
        else
            mask = static_cast<M>(mask & ~Traits::bit(bit));
    }
    names.swap(stored);
    return save(kept);
}

template bool NameSettings::saveMasked<uint32_t>(uint32_t&, std::vector<std::string>&);
template bool NameSettings::saveMasked<uint64_t>(uint64_t&, std::vector<std::string>&);
