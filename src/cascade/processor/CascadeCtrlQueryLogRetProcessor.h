#pragma once
#include <string>

#include "cascade/processor/CascadeCtrlRetCommand.h"

namespace CascadeCtrl
{
// A slave's event log (code 24, no status), for a manage-control client: 0x41.
class CascadeCtrlQueryLogRetProcessor final : public CascadeCtrlRetCommand<CascadeCtrlCommand::kQueryLog>
{
public:
    void buildMgrCtrlDataPacket(muduo::net::Buffer& data) override;
    void buildWebTransferPacket(std::string& text) override;
};
}
