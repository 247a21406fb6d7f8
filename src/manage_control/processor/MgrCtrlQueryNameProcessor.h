#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "GlobalData.h"
#include "cascade/parser/CascadeCtrlOutletMaskRequest.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"
#include "manage_control/processor/MgrCtrlUnits.h"
#include "muduo/base/Logging.h"

namespace MgrCtrl
{
// QueryName and its Ext twin, never relayed: the names of this unit or, on a
// master, of a slave as its poll recorded them (result 1 for a slave that
// has no record or has not answered). Bit n asks for outlet n, the top bit
// only for the unit's own name, which comes last; the mask keeps the bits of
// outlets the unit has. An outlet beyond the record's name table is answered
// with an empty name.
template <typename M, auto Build>
class MgrCtrlQueryNameProcessor : public MgrCtrlRequestProcessor<CascadeCtrl::CascadeCtrlOutletMaskRequest<M>>
{
public:
    int work() override
    {
        names_.clear();
        if (!MgrCtrlUnits::fromSlaveRecords(this->address()))
            return collect(GlobalData::getDevice());
        const _SlaveDevice* slave = MgrCtrlUnits::findSlave(this->address());
        return slave && slave->valid ? collect(*slave) : 1;
    }
    void buildResponseData(int result, muduo::net::Buffer& data) override
    {
        Build(data, this->address(), result, this->request().mask, names_);
    }

private:
    typedef MaskTraits<M> Traits;

    template <class Unit>
    int collect(const Unit& unit)
    {
        M& mask = this->request().mask;
        const int outlets = std::min(unit.portCount, Traits::kLastOutlet);
        mask = static_cast<M>(MgrCtrlUnits::outletsOf(mask, outlets) | (mask & Traits::kTopBit));
        LOG_INFO << "port mask:" << muduo::Fmt(Traits::kWidth == 32 ? "0x%08llX" : "0x%016llX",
                                               static_cast<unsigned long long>(mask));
        Traits::forEachSetBit(mask, [&](int bit) {
            if (bit == Traits::kLastOutlet)
                names_.push_back(unit.deviceName);
            else if (static_cast<size_t>(bit) < unit.portNames.size())
                names_.push_back(unit.portNames[static_cast<size_t>(bit)]);
            else
                names_.push_back(std::string());
        });
        return 0;
    }

    std::vector<std::string> names_;
};
}
