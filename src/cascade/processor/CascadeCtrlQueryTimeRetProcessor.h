#pragma once
#include <string>

#include "cascade/processor/CascadeCtrlRetCommand.h"

namespace CascadeCtrl
{
// A slave's clock (code 20), for a manage-control client: 0x3D.
class CascadeCtrlQueryTimeRetProcessor final : public CascadeCtrlRetCommand<CascadeCtrlCommand::kQueryTime>
{
public:
    void buildMgrCtrlDataPacket(muduo::net::Buffer& data) override;
    void buildWebTransferPacket(std::string& text) override;
};
}
