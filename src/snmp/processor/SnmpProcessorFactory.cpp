#include "snmp/processor/SnmpProcessorFactory.h"

#include "PduServer.h"
#include "snmp/parser/SnmpCascadeDeviceConfigGetParser.h"
#include "snmp/parser/SnmpDeviceConfigGetParser.h"
#include "snmp/parser/SnmpDeviceConfigSetParser.h"
#include "snmp/parser/SnmpDeviceControlParser.h"
#include "snmp/parser/SnmpNetworkConfigGetParser.h"
#include "snmp/parser/SnmpNetworkConfigSetParser.h"
#include "snmp/parser/SnmpOutletConfigGetParser.h"
#include "snmp/parser/SnmpOutletConfigSetParser.h"
#include "snmp/parser/SnmpOutletControlParser.h"

namespace snmp
{
namespace
{
typedef std::shared_ptr<SnmpParser> (*ParserMaker)(const std::shared_ptr<PowerModuleContainer>& outlets);

template <class Parser>
std::shared_ptr<SnmpParser> make(const std::shared_ptr<PowerModuleContainer>&)
{
    return std::make_shared<Parser>();
}

std::shared_ptr<SnmpParser> makeOutletControl(const std::shared_ptr<PowerModuleContainer>& outlets)
{
    return std::make_shared<SnmpOutletControlParser>(outlets);
}

const struct
{
    int code;
    ParserMaker maker;
} kTable[] = {
    {SnmpDeviceConfigGetProcessor::kCode, &make<SnmpDeviceConfigGetParser>},
    {SnmpDeviceConfigSetProcessor::kCode, &make<SnmpDeviceConfigSetParser>},
    {SnmpOutletConfigGetProcessor::kCode, &make<SnmpOutletConfigGetParser>},
    {SnmpOutletConfigSetProcessor::kCode, &make<SnmpOutletConfigSetParser>},
    {SnmpNetworkConfigGetProcessor::kCode, &make<SnmpNetworkConfigGetParser>},
    {SnmpNetworkConfigSetProcessor::kCode, &make<SnmpNetworkConfigSetParser>},
    {SnmpDeviceControlProcessor::kCode, &make<SnmpDeviceControlParser>},
    {SnmpOutletControlProcessor::kCode, &makeOutletControl},
    {SnmpCascadeDeviceConfigGetProcessor::kCode, &make<SnmpCascadeDeviceConfigGetParser>},
};
}

SnmpProcessorFactory::SnmpProcessorFactory(const PduServer* server)
    : SnmpProcessorFactory(server ? server->getPowerModuleContainer() : nullptr)
{
}

SnmpProcessorFactory::SnmpProcessorFactory(const std::shared_ptr<PowerModuleContainer>& outlets)
{
    for (const auto& entry : kTable)
        parsers_[entry.code] = entry.maker(outlets);
}

SnmpProcessorFactory::~SnmpProcessorFactory() = default;

std::shared_ptr<SnmpProcessor> SnmpProcessorFactory::parseSnmpProcessor(const std::string& text)
{
    std::shared_ptr<SnmpProcessor> result;
    const size_t end = text.find('\0');
    if (!document_.Parse(end == std::string::npos ? text : text.substr(0, end)))
        return result;
    int code = 0;
    if (!SnmpFields::readInt(document_.GetDocument(), "request", code))
        return result;
    const auto parser = parsers_.find(code);
    if (parser != parsers_.end())
        parser->second->parse(document_, result);
    return result;
}
}
