#pragma once
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "DataConverter.h"
#include "DeviceRecords.h"
#include "DeviceStatus.h"
#include "Utility.h"
#include "muduo/base/Logging.h"
#include "netext/MaskTraits.h"
#include "netext/WireWriter.h"

namespace MgrCtrl
{
// The layouts the manage-control answers share; each builder of
// MgrCtrlPacketBuilder is one of these with its code and mask width.
class MgrCtrlAnswerShapes
{
public:
    typedef muduo::net::Buffer Buffer;
    typedef muduo::net::WireWriter WireWriter;

    static constexpr size_t kNameSize = 16;

    static WireWriter head(Buffer& out, uint8_t code, int address, int result)
    {
        WireWriter w(out);
        w.u8(code).u8(static_cast<uint8_t>(address)).u8(static_cast<uint8_t>(result));
        return w;
    }
    static uint8_t yearByte(int year) { return static_cast<uint8_t>(year - 2000); }

    // A count field never claims more records than follow: longer lists are
    // cut to what the field can count.
    template <typename Count, typename T>
    static size_t countOf(const std::vector<T>& list, const char* what)
    {
        const size_t most = std::numeric_limits<Count>::max();
        if (list.size() <= most)
            return list.size();
        LOG_WARN << what << " answer cut from " << list.size() << " to " << most << " records";
        return most;
    }

    template <typename M>
    static void resultAndMask(Buffer& out, uint8_t code, int address, int result, M mask)
    {
        head(out, code, address, result).mask(mask);
    }
    static void resultAndId(Buffer& out, uint8_t code, int address, int result, uint32_t id)
    {
        WireWriter w = head(out, code, address, result);
        if (result == 0)
            w.be32(id);
    }

    // Voltage, current, power, factor, energy: 14 bytes.
    template <typename Reading>
    static void meter(WireWriter& w, const Reading& r)
    {
        w.be16(DataConverter::VoltageDoubleToInt(r.voltage))
            .be16(DataConverter::CurrentDoubleToInt(r.current))
            .be32(DataConverter::PowerDoubleToInt(r.power))
            .be16(DataConverter::FactorDoubleToInt(r.factor))
            .be32(DataConverter::EnergyDoubleToInt(r.energy));
    }

    template <typename M>
    static void deviceStatus(Buffer& out, uint8_t code, int address, int result, uint8_t statusMask, M outletMask,
                             const _DeviceStatus& status)
    {
        WireWriter w = head(out, code, address, result);
        if (result != 0)
            return;
        w.u8(statusMask);
        if (statusMask & 1)
            w.mask(static_cast<M>(status.onOffMask));
        if (statusMask & 2)
            w.be16(static_cast<uint16_t>(DataConverter::TempDoubleToInt(status.environment.temperature)))
                .be16(DataConverter::HumiDoubleToInt(status.environment.humidity));
        if (statusMask & 4)
            meter(w, status.input);
        w.mask(outletMask);
        // An outlet beyond the live table keeps its place as a missing reading.
        _DeviceOutputStatus missing;
        missing.voltage = missing.current = Utility::kInvalidDoubleValue;
        MaskTraits<M>::forEachSetBit(outletMask, [&](int n) {
            meter(w, n < _DeviceStatus::kPortSlots ? status.outputs[static_cast<size_t>(n)] : missing);
        });
    }

    template <typename M>
    static void names(Buffer& out, uint8_t code, int address, int result, M mask,
                      const std::vector<std::string>& list)
    {
        WireWriter w = head(out, code, address, result);
        if (result != 0)
            return;
        w.mask(mask);
        for (const std::string& name : list)
            w.text(kNameSize, name);
    }

    template <typename M>
    static void setName(Buffer& out, uint8_t code, int result, M mask)
    {
        WireWriter w(out);
        w.u8(code).u8(static_cast<uint8_t>(result));
        if (result == 0)
            w.mask(mask);
    }

    template <typename M>
    static void energy(Buffer& out, uint8_t code, int address, int result, int type, M mask, int year, int month,
                       int day, int hour, const std::vector<std::vector<uint32_t>>& series)
    {
        WireWriter w(out);
        w.u8(code).u8(static_cast<uint8_t>(address)).u8(static_cast<uint8_t>(type));
        if (result != 0)
        {
            w.be32(0);
            return;
        }
        w.mask(mask).u8(yearByte(year)).u8(static_cast<uint8_t>(month)).u8(static_cast<uint8_t>(day));
        w.u8(static_cast<uint8_t>(hour));
        for (const std::vector<uint32_t>& values : series)
            for (uint32_t value : values)
                w.be32(value);
    }

    template <typename M>
    static void tasks(Buffer& out, uint8_t code, int address, const std::vector<_DeviceTask>& list)
    {
        WireWriter w(out);
        const size_t count = countOf<uint16_t>(list, "scheduled task");
        w.u8(code).u8(static_cast<uint8_t>(address)).be16(static_cast<uint16_t>(count));
        for (size_t i = 0; i < count; ++i)
        {
            const _DeviceTask& t = list[i];
            w.be32(static_cast<uint32_t>(t.id)).mask(static_cast<M>(t.ports)).u8(static_cast<uint8_t>(t.action));
            w.u8(yearByte(t.year)).u8(static_cast<uint8_t>(t.month)).u8(static_cast<uint8_t>(t.day));
            w.u8(static_cast<uint8_t>(t.hour)).u8(static_cast<uint8_t>(t.minute)).u8(static_cast<uint8_t>(t.second));
            w.u8(t.repeat);
            // A UTF-8 character cut by the field's end is dropped whole.
            char remark[kNameSize] = {};
            t.remark.copy(remark, kNameSize);
            Utility::normalizeUtf8String(remark, static_cast<int>(kNameSize));
            w.bytes(remark, kNameSize);
        }
    }

    template <typename M>
    static void pings(Buffer& out, uint8_t code, int address, int result, M mask,
                      const std::vector<PingSetting>& settings)
    {
        WireWriter w = head(out, code, address, result);
        if (result != 0)
            return;
        w.mask(mask);
        for (const PingSetting& s : settings)
            w.be32(s.ip)
                .u8(static_cast<uint8_t>(s.interval))
                .u8(static_cast<uint8_t>(s.timeout))
                .u8(static_cast<uint8_t>(s.action))
                .u8(static_cast<uint8_t>(s.enabled));
    }
};
}
