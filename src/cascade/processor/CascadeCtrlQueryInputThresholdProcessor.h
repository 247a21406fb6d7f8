#pragma once
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

namespace CascadeCtrl
{
// The inlet's warning limits the mask asks for (the cut-off pair is never
// sent).
class CascadeCtrlQueryInputThresholdProcessor final
    : public CascadeCtrlSlaveCommand<CascadeCtrlCommand::kQueryInputThreshold>
{
public:
    bool work() override;
};
}
