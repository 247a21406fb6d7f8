#pragma once
#include "cascade/processor/CascadeCtrlResultRetProcessor.h"

namespace CascadeCtrl
{
// A slave's clock set (code 21): manage-control 0x3E (web 12 should one relay it).
class CascadeCtrlSetTimeRetProcessor final
    : public CascadeCtrlResultRetProcessor<CascadeCtrlCommand::kSetTime,
                                           &web::WebPacketBuilder::buildSetDateTimeRetPacket,
                                           &MgrCtrl::MgrCtrlPacketBuilder::buildSetTimeRetData>
{
};
}
