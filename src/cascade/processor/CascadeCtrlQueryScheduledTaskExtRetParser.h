#pragma once
#include "cascade/processor/CascadeCtrlQueryScheduledTaskExtRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to QueryScheduledTaskExt (code 38).
class CascadeCtrlQueryScheduledTaskExtRetParser final
    : public CascadeCtrlRetParser<CascadeCtrlQueryScheduledTaskExtRetProcessor>
{
};
}
