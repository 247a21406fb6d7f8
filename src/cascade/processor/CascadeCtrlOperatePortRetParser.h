#pragma once
#include "cascade/processor/CascadeCtrlOperatePortRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to OperatePort (code 2).
class CascadeCtrlOperatePortRetParser final : public CascadeCtrlRetParser<CascadeCtrlOperatePortRetProcessor>
{
};
}
