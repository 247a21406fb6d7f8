#pragma once
#include "cascade/processor/CascadeCtrlQueryScheduledTaskRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to QueryScheduledTask (code 16).
class CascadeCtrlQueryScheduledTaskRetParser final
    : public CascadeCtrlRetParser<CascadeCtrlQueryScheduledTaskRetProcessor>
{
};
}
