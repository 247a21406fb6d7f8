#pragma once
#include <string>
#include <vector>

#include "NameSettings.h"
#include "cascade/processor/CascadeCtrlSlaveCommand.h"
#include "muduo/base/Logging.h"

namespace CascadeCtrl
{
// SetName and its Ext twin: stores the names of the unit's outlets and,
// under the top bit, the unit's name; names of outlets the unit lacks are
// dropped with their bits. The answer echoes the names stored.
template <int kCode>
class CascadeCtrlSlaveSetName : public CascadeCtrlSlaveCommand<kCode>
{
public:
    bool work() override
    {
        auto& r = this->request;
        typedef decltype(r.receivedMask) M;
        typedef decltype(this->answer_.data) Names;
        // One name per set bit, outlets ascending, the unit's name last.
        std::vector<std::string> list;
        for (const auto& entry : r.names)
            if (entry.first != Names::kDeviceName)
                list.push_back(entry.second);
        const auto unit = r.names.find(Names::kDeviceName);
        if (unit != r.names.end())
            list.push_back(unit->second);
        M mask = r.receivedMask;
        const bool ok = NameSettings::saveMasked(mask, list);
        LOG_INFO << "port bitmap:" << this->maskText(mask);
        if (!ok)
            return false;
        auto& echo = this->answer_.data.names;
        size_t next = 0;
        MaskTraits<M>::forEachSetBit(mask, [&](int bit) {
            if (next < list.size())
                echo[bit == MaskTraits<M>::kLastOutlet ? Names::kDeviceName : bit] = list[next++];
        });
        return true;
    }
};
}
