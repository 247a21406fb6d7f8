#include "cascade/processor/CascadeCtrlSetNewAddrProcessor.h"

#include "CascadeAddressSetting.h"

namespace CascadeCtrl
{
bool CascadeCtrlSetNewAddrProcessor::work() { return CascadeAddressSetting::set(request.address, true); }
}
