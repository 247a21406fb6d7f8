#pragma once
#include "cascade/processor/CascadeCtrlTestPingRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to TestPing (code 28).
class CascadeCtrlTestPingRetParser final : public CascadeCtrlRetParser<CascadeCtrlTestPingRetProcessor>
{
};
}
