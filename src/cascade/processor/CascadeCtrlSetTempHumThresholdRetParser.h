#pragma once
#include "cascade/processor/CascadeCtrlSetTempHumThresholdRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to SetTempHumThreshold (code 13).
class CascadeCtrlSetTempHumThresholdRetParser final
    : public CascadeCtrlRetParser<CascadeCtrlSetTempHumThresholdRetProcessor>
{
};
}
