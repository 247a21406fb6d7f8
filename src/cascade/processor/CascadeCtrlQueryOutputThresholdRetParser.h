#pragma once
#include "cascade/processor/CascadeCtrlQueryOutputThresholdRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to QueryOutputThreshold (code 8).
class CascadeCtrlQueryOutputThresholdRetParser final
    : public CascadeCtrlRetParser<CascadeCtrlQueryOutputThresholdRetProcessor>
{
};
}
