#pragma once
#include "cascade/processor/CascadeCtrlDeleteScheduledTaskRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to DeleteScheduledTask (code 19).
class CascadeCtrlDeleteScheduledTaskRetParser final
    : public CascadeCtrlRetParser<CascadeCtrlDeleteScheduledTaskRetProcessor>
{
};
}
