#include "cascade/parser/CascadeCtrlWireFields.h"
#include "manage_control/parser/MgrCtrlAnswerShapes.h"
#include "manage_control/parser/MgrCtrlCommandCode.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"

using muduo::net::Buffer;
using muduo::net::WireWriter;

// The answers that carry records: network, clock, event log, thresholds,
// delays, scheduled tasks and ping watchdogs.
namespace MgrCtrl
{
typedef MgrCtrlAnswerShapes Shape;

namespace
{
uint16_t current(double amperes) { return DataConverter::CurrentDoubleToInt(amperes); }
}

void MgrCtrlPacketBuilder::buildQueryNetworkRetData(Buffer& out, int address, int result,
                                                    const _DeviceNetworkSetting& settings)
{
    WireWriter w = Shape::head(out, kQueryNetwork, address, result);
    if (result != 0)
        return;
    const size_t count = Shape::countOf<uint8_t>(settings.networks, "network");
    w.u8(static_cast<uint8_t>(count));
    for (size_t i = 0; i < count; ++i)
        CascadeCtrl::CascadeCtrlWireFields::writeNetwork(w, settings.networks[i]);
    w.be16(settings.manageControlPort);
}

void MgrCtrlPacketBuilder::buildQueryTimeRetData(Buffer& out, int address, int result, const _DeviceDateTime& time)
{
    WireWriter w = Shape::head(out, kQueryTime, address, result);
    if (result != 0)
        return;
    w.u8(Shape::yearByte(time.year)).u8(static_cast<uint8_t>(time.month)).u8(static_cast<uint8_t>(time.day));
    w.u8(static_cast<uint8_t>(time.hour)).u8(static_cast<uint8_t>(time.minute)).u8(static_cast<uint8_t>(time.second));
}

void MgrCtrlPacketBuilder::buildQueryLogRetData(Buffer& out, int address, const std::vector<_SystemLogItem>& logs)
{
    WireWriter w(out);
    const size_t count = Shape::countOf<uint16_t>(logs, "system log");
    w.u8(kQuerySystemLog).u8(static_cast<uint8_t>(address)).be16(static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i)
    {
        const _SystemLogItem& l = logs[i];
        w.be32(static_cast<uint32_t>(l.id)).u8(Shape::yearByte(l.year)).u8(static_cast<uint8_t>(l.month));
        w.u8(static_cast<uint8_t>(l.day)).u8(static_cast<uint8_t>(l.hour)).u8(static_cast<uint8_t>(l.minute));
        w.u8(static_cast<uint8_t>(l.second)).u8(static_cast<uint8_t>(l.type)).u8(static_cast<uint8_t>(l.port));
        w.u8(static_cast<uint8_t>(l.desc));
    }
}

void MgrCtrlPacketBuilder::buildQueryOutputThresholdRetData(Buffer& out, int address,
                                                            const _DeviceOutputThresholdSetting& setting)
{
    WireWriter w(out);
    const size_t count = Shape::countOf<uint8_t>(setting.thresholds, "output threshold");
    w.u8(kQueryOutputThreshold).u8(static_cast<uint8_t>(address)).u8(static_cast<uint8_t>(count));
    for (size_t i = 0; i < count; ++i)
    {
        const _DeviceOutputThreshold& t = setting.thresholds[i];
        w.be16(current(t.warnUpperCurrent)).be16(current(t.warnLowerCurrent));
        w.be16(current(t.offUpperCurrent)).be16(current(t.offLowerCurrent));
    }
}

void MgrCtrlPacketBuilder::buildQueryInputThresholdRetData(Buffer& out, int address, unsigned char mask,
                                                           const _DeviceInputThreshold& t)
{
    WireWriter w(out);
    w.u8(kQueryInputThreshold).u8(static_cast<uint8_t>(address)).u8(mask);
    if (mask & 1)
        w.be16(DataConverter::VoltageDoubleToInt(t.warnUpperVoltage))
            .be16(DataConverter::VoltageDoubleToInt(t.warnLowerVoltage));
    if (mask & 2)
        w.be16(current(t.warnUpperCurrent)).be16(current(t.warnLowerCurrent));
    if (mask & 4)
        w.be16(current(t.offUpperCurrent)).be16(current(t.offLowerCurrent));
}

void MgrCtrlPacketBuilder::buildQueryTempHumiThresholdRetData(Buffer& out, int address,
                                                              const _DeviceTempHumiThreshold& t)
{
    WireWriter w(out);
    w.u8(kQueryTempHumThreshold).u8(static_cast<uint8_t>(address)).u8(t.mask);
    if (t.mask & 1)
        w.be16(static_cast<uint16_t>(DataConverter::TempDoubleToInt(t.warnUpperTemp)))
            .be16(static_cast<uint16_t>(DataConverter::TempDoubleToInt(t.warnLowerTemp)));
    if (t.mask & 2)
        w.be16(DataConverter::HumiDoubleToInt(t.warnUpperHumi)).be16(DataConverter::HumiDoubleToInt(t.warnLowerHumi));
}

void MgrCtrlPacketBuilder::buildQueryPortDelayRetData(Buffer& out, int address,
                                                      const std::vector<_DevicePortDelay>& delays)
{
    WireWriter w(out);
    const size_t count = Shape::countOf<uint8_t>(delays, "port delay");
    w.u8(kQueryPortDelay).u8(static_cast<uint8_t>(address)).u8(static_cast<uint8_t>(count));
    for (size_t i = 0; i < count; ++i)
        w.be16(static_cast<uint16_t>(delays[i].onDelay))
            .be16(static_cast<uint16_t>(delays[i].offDelay))
            .be16(static_cast<uint16_t>(delays[i].restartDelay));
}

void MgrCtrlPacketBuilder::buildQueryScheduledTaskRetData(Buffer& out, int address,
                                                          const std::vector<_DeviceTask>& tasks)
{
    Shape::tasks<uint32_t>(out, kQueryScheduledTask, address, tasks);
}

void MgrCtrlPacketBuilder::buildQueryScheduledTaskExtRetData(Buffer& out, int address,
                                                             const std::vector<_DeviceTask>& tasks)
{
    Shape::tasks<uint64_t>(out, kQueryScheduledTaskExt, address, tasks);
}

void MgrCtrlPacketBuilder::buildQueryPingRetData(Buffer& out, int address, int result, unsigned int mask,
                                                 const std::vector<PingSetting>& settings)
{
    Shape::pings<uint32_t>(out, kQueryPing, address, result, mask, settings);
}

void MgrCtrlPacketBuilder::buildQueryPingExtRetData(Buffer& out, int address, int result, unsigned long long mask,
                                                    const std::vector<PingSetting>& settings)
{
    Shape::pings<uint64_t>(out, kQueryPingExt, address, result, mask, settings);
}
}
