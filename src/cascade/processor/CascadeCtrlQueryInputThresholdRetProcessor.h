#pragma once
#include <string>

#include "cascade/processor/CascadeCtrlRetCommand.h"

namespace CascadeCtrl
{
// A slave's inlet limits (code 10, no status; no client request relays it): web 23, manage-control 0x32.
class CascadeCtrlQueryInputThresholdRetProcessor final
    : public CascadeCtrlRetCommand<CascadeCtrlCommand::kQueryInputThreshold>
{
public:
    void buildMgrCtrlDataPacket(muduo::net::Buffer& data) override;
    void buildWebTransferPacket(std::string& text) override;
};
}
