#pragma once
#include "cascade/processor/CascadeCtrlQueryTempHumThresholdRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to QueryTempHumThreshold (code 12).
class CascadeCtrlQueryTempHumThresholdRetParser final
    : public CascadeCtrlRetParser<CascadeCtrlQueryTempHumThresholdRetProcessor>
{
};
}
