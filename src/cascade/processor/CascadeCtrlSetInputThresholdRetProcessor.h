#pragma once
#include "cascade/processor/CascadeCtrlEchoRetProcessor.h"

namespace CascadeCtrl
{
// A slave's inlet limits changed (code 11): web 5, manage-control 0x33 with
// the pair mask; then the master's cached limits of the slave take the
// pairs answered, the others stay as they were.
class CascadeCtrlSetInputThresholdRetProcessor final
    : public CascadeCtrlEchoRetProcessor<CascadeCtrlCommand::kSetInputThreshold,
                                         &web::WebPacketBuilder::buildSetInputThresholdRetPacket,
                                         &MgrCtrl::MgrCtrlPacketBuilder::buildSetInputThresholdRetData>
{
public:
    void work() override;
};
}
