#pragma once
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/NtpServerSetProcessor.h"

namespace web
{
// Code 40: "master_ntp_server" and "slave_ntp_server"; "addr" is checked,
// not used: the servers are this unit's.
class NtpServerSetParser final : public WebCommandParser<NtpServerSetParser, NtpServerSetProcessor, WebAnsweredHere>
{
public:
    using WebCommandParser::WebCommandParser;

    static bool read(const Value& content, int, std::pair<std::string, std::string>& servers)
    {
        return readString(content, "master_ntp_server", servers.first) &&
               readString(content, "slave_ntp_server", servers.second);
    }
};
}
