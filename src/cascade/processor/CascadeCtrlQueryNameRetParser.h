#pragma once
#include "cascade/processor/CascadeCtrlQueryNameRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to QueryName (code 3).
class CascadeCtrlQueryNameRetParser final : public CascadeCtrlRetParser<CascadeCtrlQueryNameRetProcessor>
{
};
}
