#pragma once
#include "cascade/processor/CascadeCtrlTestPingStatusRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to TestPingStatus (code 29).
class CascadeCtrlTestPingStatusRetParser final : public CascadeCtrlRetParser<CascadeCtrlTestPingStatusRetProcessor>
{
};
}
