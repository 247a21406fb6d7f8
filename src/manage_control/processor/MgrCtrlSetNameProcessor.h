#pragma once
#include <string>
#include <vector>

#include "NameSettings.h"
#include "cascade/parser/CascadeCtrlSetNameRequest.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"
#include "muduo/base/Logging.h"

namespace MgrCtrl
{
// SetName and its Ext twin on this unit: bit n names outlet n, the top bit
// only the unit itself. Names of outlets the unit lacks are dropped and
// their bits cleared; the reply (code, result and, when done, that mask)
// carries no address byte. Nothing left to save fails.
template <typename M, auto Build>
class MgrCtrlSetNameProcessor : public MgrCtrlRequestProcessor<CascadeCtrl::CascadeCtrlSetNameRequest<M>>
{
public:
    int work() override
    {
        typedef MaskTraits<M> Traits;
        auto& request = this->request();
        mask_ = request.receivedMask;
        std::vector<std::string> names;
        Traits::forEachSetBit(mask_, [&](int bit) {
            const int key = bit == Traits::kLastOutlet ? request.kDeviceName : bit;
            const auto name = request.names.find(key);
            names.push_back(name == request.names.end() ? std::string() : name->second);
        });
        const bool saved = NameSettings::saveMasked(mask_, names);
        LOG_INFO << "port mask:" << muduo::Fmt(Traits::kWidth == 32 ? "0x%08llX" : "0x%016llX",
                                               static_cast<unsigned long long>(mask_));
        return saved ? 0 : 1;
    }
    void buildResponseData(int result, muduo::net::Buffer& data) override { Build(data, result, mask_); }

private:
    M mask_ = 0;
};
}
