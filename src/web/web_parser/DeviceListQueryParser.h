#pragma once
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/DeviceListQueryProcessor.h"

namespace web
{
// Code 1 reads nothing: "content" may be missing.
class DeviceListQueryParser final
    : public WebCommandParser<DeviceListQueryParser, DeviceListQueryProcessor, WebNoArguments>
{
public:
    using WebCommandParser::WebCommandParser;
};
}
