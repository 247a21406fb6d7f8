#pragma once
#include <string>

#include "cascade/processor/CascadeCtrlRetCommand.h"

namespace CascadeCtrl
{
// A slave's outlet limits (code 8, no status): web 22, manage-control 0x30.
class CascadeCtrlQueryOutputThresholdRetProcessor final
    : public CascadeCtrlRetCommand<CascadeCtrlCommand::kQueryOutputThreshold>
{
public:
    void buildMgrCtrlDataPacket(muduo::net::Buffer& data) override;
    void buildWebTransferPacket(std::string& text) override;
};
}
