#include "cascade/parser/CascadeCtrlSetTempHumThresholdRequest.h"

#include <cstdint>

#include "cascade/parser/CascadeCtrlWireFields.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
namespace
{
void writePair(muduo::net::WireWriter& w, double upper, double lower)
{
    w.be16(static_cast<uint16_t>(CascadeCtrlWireFields::limitToWire(upper)))
        .be16(static_cast<uint16_t>(CascadeCtrlWireFields::limitToWire(lower)));
}

bool readPair(muduo::net::WireReader& r, double& upper, double& lower)
{
    int16_t u = 0, l = 0;
    if (!r.be16(u) || !r.be16(l))
        return false;
    upper = CascadeCtrlWireFields::limitFromWire(u);
    lower = CascadeCtrlWireFields::limitFromWire(l);
    return true;
}
}

void CascadeCtrlSetTempHumThresholdRequest::write(muduo::net::WireWriter& w) const
{
    w.u8(threshold.mask);
    if (threshold.mask & 0x01)
        writePair(w, threshold.warnUpperTemp, threshold.warnLowerTemp);
    if (threshold.mask & 0x02)
        writePair(w, threshold.warnUpperHumi, threshold.warnLowerHumi);
}

bool CascadeCtrlSetTempHumThresholdRequest::read(muduo::net::WireReader& r)
{
    _DeviceTempHumiThreshold t;
    if (!r.u8(t.mask) || ((t.mask & 0x01) && !readPair(r, t.warnUpperTemp, t.warnLowerTemp)) ||
        ((t.mask & 0x02) && !readPair(r, t.warnUpperHumi, t.warnLowerHumi)))
        return false;
    threshold = t;
    return true;
}
}
