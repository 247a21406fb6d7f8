#pragma once
#include "cascade/processor/CascadeCtrlQueryLogRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to QueryLog (code 24).
class CascadeCtrlQueryLogRetParser final : public CascadeCtrlRetParser<CascadeCtrlQueryLogRetProcessor>
{
};
}
