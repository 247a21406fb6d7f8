#pragma once
#include "web/web_parser/WebAddressedParser.h"
#include "web/web_processor/NtpServerSetProcessor.h"

class PduServer;

namespace web
{
// Code 40: "master_ntp_server" and "slave_ntp_server"; "addr" is checked,
// not used: the servers are this unit's.
class NtpServerSetParser final : public WebAddressedParser<NtpServerSetParser, NtpServerSetProcessor>
{
public:
    explicit NtpServerSetParser(PduServer* server);

private:
    friend WebAddressedParser;
    std::shared_ptr<NtpServerSetProcessor> make() const;
    static bool read(const Value& content, int addr, NtpServerSetProcessor& processor);

    std::shared_ptr<NtpTask> ntpTask_;
};
}
