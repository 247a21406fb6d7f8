#pragma once
#include <cstdint>

#include "manage_control/processor/MgrCtrlProcessor.h"

namespace MgrCtrl
{
// Code 41 on the scan port: the unit's eth0 address, so management software
// can find it (0.0.0.0 when eth0 has none).
class ScanDeviceProcessor final : public MgrCtrlProcessor
{
public:
    int work() override;
    void buildResponseData(int result, muduo::net::Buffer& data) override;

private:
    uint32_t ip_ = 0;  // host byte order
};
}
