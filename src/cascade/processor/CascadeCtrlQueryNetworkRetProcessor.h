#pragma once
#include <string>

#include "cascade/processor/CascadeCtrlRetCommand.h"

namespace CascadeCtrl
{
// A slave's IP settings (code 5), for a manage-control client: 0x2C.
class CascadeCtrlQueryNetworkRetProcessor final : public CascadeCtrlRetCommand<CascadeCtrlCommand::kQueryNetwork>
{
public:
    void buildMgrCtrlDataPacket(muduo::net::Buffer& data) override;
    void buildWebTransferPacket(std::string& text) override;
};
}
