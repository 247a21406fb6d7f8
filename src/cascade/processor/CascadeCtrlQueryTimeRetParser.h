#pragma once
#include "cascade/processor/CascadeCtrlQueryTimeRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to QueryTime (code 20).
class CascadeCtrlQueryTimeRetParser final : public CascadeCtrlRetParser<CascadeCtrlQueryTimeRetProcessor>
{
};
}
