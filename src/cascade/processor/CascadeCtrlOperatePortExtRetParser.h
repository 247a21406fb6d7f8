#pragma once
#include "cascade/processor/CascadeCtrlOperatePortExtRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to OperatePortExt (code 32).
class CascadeCtrlOperatePortExtRetParser final : public CascadeCtrlRetParser<CascadeCtrlOperatePortExtRetProcessor>
{
};
}
