#pragma once
#include "cascade/processor/CascadeCtrlSetInputThresholdRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to SetInputThreshold (code 11).
class CascadeCtrlSetInputThresholdRetParser final
    : public CascadeCtrlRetParser<CascadeCtrlSetInputThresholdRetProcessor>
{
};
}
