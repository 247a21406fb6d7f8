#include "web/web_parser/NtpServerSetParser.h"

#include "PduServer.h"

namespace web
{
NtpServerSetParser::NtpServerSetParser(PduServer* server) : ntpTask_(server ? server->getNtpTask() : nullptr) {}

std::shared_ptr<NtpServerSetProcessor> NtpServerSetParser::make() const
{
    return std::make_shared<NtpServerSetProcessor>(ntpTask_);
}

bool NtpServerSetParser::read(const Value& content, int, NtpServerSetProcessor& processor)
{
    return readString(content, "master_ntp_server", processor.first) &&
           readString(content, "slave_ntp_server", processor.second);
}
}
