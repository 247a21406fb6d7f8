#pragma once
#include "cascade/processor/CascadeCtrlResultRetProcessor.h"

namespace CascadeCtrl
{
// A slave's outlets switched (code 2): web 2, manage-control 0x2E.
class CascadeCtrlOperatePortRetProcessor final
    : public CascadeCtrlResultRetProcessor<CascadeCtrlCommand::kOperatePort,
                                           &web::WebPacketBuilder::buildOperatePortRetPacket,
                                           &MgrCtrl::MgrCtrlPacketBuilder::buildOperatePortRetData>
{
};
}
