#pragma once
#include "manage_control/processor/MgrCtrlProcessor.h"

namespace MgrCtrl
{
// Code 42: this unit and, on a master, every slave its poll has found, one
// 43-byte record each (address, identity, name, firmware version).
class GetDeviceListProcessor final : public MgrCtrlProcessor
{
public:
    int work() override { return 0; }
    void buildResponseData(int result, muduo::net::Buffer& data) override;
};
}
