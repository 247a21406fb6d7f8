#include "snmp/processor/SnmpProcessor.h"

#include <cmath>

#include "Utility.h"

namespace snmp
{
SnmpProcessor::SnmpProcessor() = default;

SnmpProcessor::~SnmpProcessor() = default;

bool SnmpProcessor::process(std::string& out) { return buildResponseString(work(), out); }

Json::JsonCpp& SnmpProcessor::beginResponse(int code, int result)
{
    writer_.Clear();
    writer_.StartObject();
    writer_.WriteKeyValue("response", code);
    writer_.WriteKeyValue("result", result);
    return writer_;
}

bool SnmpProcessor::endResponse(std::string& out)
{
    writer_.EndObject();
    out = writer_.GetString();
    return true;
}

void SnmpProcessor::writeLimit(double value)
{
    // The writer refuses them, which would leave the object half written.
    if (!std::isfinite(value))
        value = Utility::kInvalidDoubleValue;
    writer_.SetMaxDecimalPlaces(2);
    writer_.WriteValue(value);
    writer_.SetMaxDecimalPlaces(Json::JsonCpp::kDefaultMaxDecimalPlaces);
}
}
