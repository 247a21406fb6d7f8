#include "web/web_parser/PortOperationParser.h"

#include "PduServer.h"

namespace web
{
PortOperationParser::PortOperationParser(PduServer* server)
    : modules_(server ? server->getPowerModuleContainer() : nullptr)
{
}

std::shared_ptr<PortOperationProcessor> PortOperationParser::make() const
{
    return std::make_shared<PortOperationProcessor>(modules_);
}

bool PortOperationParser::read(const Value& content, int, PortOperationProcessor& processor)
{
    return readIntArray(content, "ports", processor.ports) && readInt(content, "action", processor.action);
}
}
