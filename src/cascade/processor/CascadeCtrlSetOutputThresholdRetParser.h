#pragma once
#include "cascade/processor/CascadeCtrlSetOutputThresholdRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to SetOutputThreshold (code 9).
class CascadeCtrlSetOutputThresholdRetParser final
    : public CascadeCtrlRetParser<CascadeCtrlSetOutputThresholdRetProcessor>
{
};
}
