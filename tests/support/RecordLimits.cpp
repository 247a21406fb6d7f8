#include "support/RecordLimits.h"

#include <cmath>
#include <sstream>

#include "GlobalData.h"

namespace test
{
RecordLimits recordLimits()
{
    const _Device& d = GlobalData::getDevice();
    const _DeviceInputThreshold& in = d.inputThreshold;
    const _DeviceTempHumiThreshold& env = d.tempHumiThreshold;
    RecordLimits all = {
        {"inlet warn upper voltage", in.warnUpperVoltage}, {"inlet warn lower voltage", in.warnLowerVoltage},
        {"inlet warn upper current", in.warnUpperCurrent}, {"inlet warn lower current", in.warnLowerCurrent},
        {"inlet off upper current", in.offUpperCurrent},   {"inlet off lower current", in.offLowerCurrent},
        {"upper temperature", env.warnUpperTemp},           {"lower temperature", env.warnLowerTemp},
        {"upper humidity", env.warnUpperHumi},              {"lower humidity", env.warnLowerHumi},
    };
    for (size_t n = 0; n < d.outputThresholds.size(); ++n)
    {
        const _DeviceOutputThreshold& o = d.outputThresholds[n];
        const std::string outlet = "outlet " + std::to_string(n) + " ";
        all.push_back({outlet + "warn upper", o.warnUpperCurrent});
        all.push_back({outlet + "warn lower", o.warnLowerCurrent});
        all.push_back({outlet + "off upper", o.offUpperCurrent});
        all.push_back({outlet + "off lower", o.offLowerCurrent});
    }
    return all;
}

double limitOf(const RecordLimits& limits, const std::string& name)
{
    for (const auto& l : limits)
        if (l.first == name)
            return l.second;
    return std::nan("");
}

RecordLimits withLimit(RecordLimits limits, const std::string& name, double value)
{
    for (auto& l : limits)
        if (l.first == name)
            l.second = value;
    return limits;
}

std::string listed(const RecordLimits& limits)
{
    std::string out;
    for (const auto& l : limits)
        out += l.first + "=" + limitText(l.second) + "\n";
    return out;
}

std::string limitText(double value)
{
    std::ostringstream s;
    s.precision(17);
    s << value;
    return s.str();
}
}
