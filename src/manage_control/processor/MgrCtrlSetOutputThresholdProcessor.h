#pragma once
#include "OutletThresholdSettings.h"
#include "manage_control/processor/MgrCtrlMaskedSetProcessor.h"

namespace MgrCtrl
{
// SetOutputThreshold and its Ext twin on this unit: the limits of its
// outlets go to pdu.db, then to the record the alarm monitor reads; an
// unset limit (0xFFFF) leaves the stored one, and a record of an outlet the
// unit lacks refuses the whole request.
template <class R, auto Build>
class MgrCtrlSetOutputThresholdProcessor : public MgrCtrlMaskedSetProcessor<R, Build>
{
public:
    int work() override { return OutletThresholdSettings::set(this->request().setting) ? 0 : 1; }
};
}
