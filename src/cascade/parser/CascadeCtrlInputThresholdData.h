#pragma once
#include "DeviceThresholds.h"

namespace muduo
{
namespace net
{
class WireReader;
class WireWriter;
}
}

namespace CascadeCtrl
{
// The inlet's warning limits (QueryInputThreshold; SetInputThreshold's echo
// after its status): the mask byte, then bit 0 the voltage pair (0.1 V),
// bit 1 the warning-current pair (0.01 A), upper first. The cut-off pair is
// never sent, whatever bit 2 says.
struct CascadeCtrlInputThresholdData
{
    _DeviceInputThreshold threshold;

    void write(muduo::net::WireWriter& w) const;
    bool read(muduo::net::WireReader& r);
};
}
