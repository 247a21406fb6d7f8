#pragma once
#include "cascade/processor/CascadeCtrlSetOutputThresholdExtRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to SetOutputThresholdExt (code 36).
class CascadeCtrlSetOutputThresholdExtRetParser final
    : public CascadeCtrlRetParser<CascadeCtrlSetOutputThresholdExtRetProcessor>
{
};
}
