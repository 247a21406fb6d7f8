#pragma once
#include "cascade/processor/CascadeCtrlSetPortDelayRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to SetPortDelay (code 15).
class CascadeCtrlSetPortDelayRetParser final : public CascadeCtrlRetParser<CascadeCtrlSetPortDelayRetProcessor>
{
};
}
