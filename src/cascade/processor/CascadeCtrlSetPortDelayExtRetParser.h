#pragma once
#include "cascade/processor/CascadeCtrlSetPortDelayExtRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to SetPortDelayExt (code 37).
class CascadeCtrlSetPortDelayExtRetParser final : public CascadeCtrlRetParser<CascadeCtrlSetPortDelayExtRetProcessor>
{
};
}
