#pragma once
#include "cascade/processor/CascadeCtrlUpdateScheduledTaskRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to UpdateScheduledTask (code 18).
class CascadeCtrlUpdateScheduledTaskRetParser final
    : public CascadeCtrlRetParser<CascadeCtrlUpdateScheduledTaskRetProcessor>
{
};
}
