#pragma once
#include "web/web_parser/WebParser.h"

namespace web
{
// Code 1 reads nothing: "content" may be missing.
class DeviceListQueryParser final : public WebParser
{
public:
    int parse(Json::JsonCpp& request, std::shared_ptr<WebProcessor>& processor) override;
};
}
