#pragma once
#include "web/web_parser/WebParser.h"

namespace web
{
// Code 3: "query", a list of units asked for, each with its own "addr" and
// what of it is wanted. Never relayed.
class DeviceStatusQueryParser final : public WebParser
{
public:
    int parse(Json::JsonCpp& request, std::shared_ptr<WebProcessor>& processor) override;
};
}
