#pragma once
#include <string>

#include "cascade/processor/CascadeCtrlRetCommand.h"

namespace CascadeCtrl
{
// A slave's temperature/humidity limits (code 12, no status): web 25, manage-control 0x34.
class CascadeCtrlQueryTempHumThresholdRetProcessor final
    : public CascadeCtrlRetCommand<CascadeCtrlCommand::kQueryTempHumThreshold>
{
public:
    void buildMgrCtrlDataPacket(muduo::net::Buffer& data) override;
    void buildWebTransferPacket(std::string& text) override;
};
}
