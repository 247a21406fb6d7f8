#pragma once
#include "cascade/processor/CascadeCtrlSetTimeRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to SetTime (code 21).
class CascadeCtrlSetTimeRetParser final : public CascadeCtrlRetParser<CascadeCtrlSetTimeRetProcessor>
{
};
}
