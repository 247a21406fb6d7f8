#include "cascade/parser/CascadeCtrlSetInputThresholdRequest.h"

#include <cstdint>

#include "DataConverter.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
namespace
{
typedef unsigned short (*ToWire)(double);
typedef double (*FromWire)(unsigned short);

void writePair(muduo::net::WireWriter& w, ToWire convert, double upper, double lower)
{
    w.be16(convert(upper)).be16(convert(lower));
}

bool readPair(muduo::net::WireReader& r, FromWire convert, double& upper, double& lower)
{
    uint16_t u = 0, l = 0;
    if (!r.be16(u) || !r.be16(l))
        return false;
    upper = convert(u);
    lower = convert(l);
    return true;
}
}

void CascadeCtrlSetInputThresholdRequest::write(muduo::net::WireWriter& w) const
{
    const _DeviceInputThreshold& t = threshold;
    w.u8(t.mask);
    if (t.mask & 0x01)
        writePair(w, DataConverter::VoltageDoubleToInt, t.warnUpperVoltage, t.warnLowerVoltage);
    if (t.mask & 0x02)
        writePair(w, DataConverter::CurrentDoubleToInt, t.warnUpperCurrent, t.warnLowerCurrent);
    if (t.mask & 0x04)
        writePair(w, DataConverter::CurrentDoubleToInt, t.offUpperCurrent, t.offLowerCurrent);
}

bool CascadeCtrlSetInputThresholdRequest::read(muduo::net::WireReader& r)
{
    _DeviceInputThreshold t;
    if (!r.u8(t.mask) ||
        ((t.mask & 0x01) && !readPair(r, DataConverter::VoltageIntToDouble, t.warnUpperVoltage, t.warnLowerVoltage)) ||
        ((t.mask & 0x02) && !readPair(r, DataConverter::CurrentIntToDouble, t.warnUpperCurrent, t.warnLowerCurrent)) ||
        ((t.mask & 0x04) && !readPair(r, DataConverter::CurrentIntToDouble, t.offUpperCurrent, t.offLowerCurrent)))
        return false;
    threshold = t;
    return true;
}
}
