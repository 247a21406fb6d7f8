#pragma once
#include "cascade/processor/CascadeCtrlRebootRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to Reboot (code 23).
class CascadeCtrlRebootRetParser final : public CascadeCtrlRetParser<CascadeCtrlRebootRetProcessor>
{
};
}
