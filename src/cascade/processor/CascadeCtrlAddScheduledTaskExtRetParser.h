#pragma once
#include "cascade/processor/CascadeCtrlAddScheduledTaskExtRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to AddScheduledTaskExt (code 39).
class CascadeCtrlAddScheduledTaskExtRetParser final
    : public CascadeCtrlRetParser<CascadeCtrlAddScheduledTaskExtRetProcessor>
{
};
}
