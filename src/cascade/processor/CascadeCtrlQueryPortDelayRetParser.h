#pragma once
#include "cascade/processor/CascadeCtrlQueryPortDelayRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to QueryPortDelay (code 14).
class CascadeCtrlQueryPortDelayRetParser final : public CascadeCtrlRetParser<CascadeCtrlQueryPortDelayRetProcessor>
{
};
}
