#pragma once
#include "cascade/processor/CascadeCtrlQueryNameExtRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to QueryNameExt (code 33).
class CascadeCtrlQueryNameExtRetParser final : public CascadeCtrlRetParser<CascadeCtrlQueryNameExtRetProcessor>
{
};
}
