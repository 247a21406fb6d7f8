#pragma once
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/NtpServerSetProcessor.h"

class PduServer;

namespace web
{
// Code 40: "master_ntp_server" and "slave_ntp_server"; "addr" is checked,
// not used: the servers are this unit's.
class NtpServerSetParser final : public WebCommandParser<NtpServerSetParser, NtpServerSetProcessor>
{
public:
    explicit NtpServerSetParser(PduServer* server);

private:
    friend WebCommandParser;
    std::shared_ptr<NtpServerSetProcessor> make() const;
    static bool read(const Value& content, int addr, NtpServerSetProcessor& processor);

    std::shared_ptr<NtpTask> ntpTask_;
};
}
