#pragma once
#include "cascade/processor/CascadeCtrlQueryInputThresholdRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to QueryInputThreshold (code 10).
class CascadeCtrlQueryInputThresholdRetParser final
    : public CascadeCtrlRetParser<CascadeCtrlQueryInputThresholdRetProcessor>
{
};
}
