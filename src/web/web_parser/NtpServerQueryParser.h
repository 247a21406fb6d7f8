#pragma once
#include "web/web_parser/WebAddressedParser.h"
#include "web/web_processor/NtpServerQueryProcessor.h"

namespace web
{
// Code 39: "addr" is checked, not used: the servers are this unit's.
class NtpServerQueryParser final : public WebAddressedParser<NtpServerQueryParser, NtpServerQueryProcessor>
{
};
}
