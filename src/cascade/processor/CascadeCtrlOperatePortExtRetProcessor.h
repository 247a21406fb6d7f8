#pragma once
#include "cascade/processor/CascadeCtrlResultRetProcessor.h"

namespace CascadeCtrl
{
// A wide slave's outlets switched (code 32): web 2, manage-control 0x49.
class CascadeCtrlOperatePortExtRetProcessor final
    : public CascadeCtrlResultRetProcessor<CascadeCtrlCommand::kOperatePortExt,
                                           &web::WebPacketBuilder::buildOperatePortRetPacket,
                                           &MgrCtrl::MgrCtrlPacketBuilder::buildOperatePortExtRetData>
{
};
}
