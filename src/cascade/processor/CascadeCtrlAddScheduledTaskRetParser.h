#pragma once
#include "cascade/processor/CascadeCtrlAddScheduledTaskRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to AddScheduledTask (code 17).
class CascadeCtrlAddScheduledTaskRetParser final : public CascadeCtrlRetParser<CascadeCtrlAddScheduledTaskRetProcessor>
{
};
}
