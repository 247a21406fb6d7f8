#pragma once
#include "cascade/processor/CascadeCtrlUpdateScheduledTaskExtRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to UpdateScheduledTaskExt (code 40).
class CascadeCtrlUpdateScheduledTaskExtRetParser final
    : public CascadeCtrlRetParser<CascadeCtrlUpdateScheduledTaskExtRetProcessor>
{
};
}
