#pragma once
#include <string>

#include "cascade/processor/CascadeCtrlRetCommand.h"

namespace CascadeCtrl
{
// A slave's delays (code 14, no status): web 24, manage-control 0x36.
class CascadeCtrlQueryPortDelayRetProcessor final : public CascadeCtrlRetCommand<CascadeCtrlCommand::kQueryPortDelay>
{
public:
    void buildMgrCtrlDataPacket(muduo::net::Buffer& data) override;
    void buildWebTransferPacket(std::string& text) override;
};
}
