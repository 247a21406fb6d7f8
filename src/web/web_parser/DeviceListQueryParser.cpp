#include "web/web_parser/DeviceListQueryParser.h"

#include "web/web_processor/DeviceListQueryProcessor.h"

namespace web
{
int DeviceListQueryParser::parse(Json::JsonCpp&, std::shared_ptr<WebProcessor>& processor)
{
    processor = std::make_shared<DeviceListQueryProcessor>();
    return kLocal;
}
}
