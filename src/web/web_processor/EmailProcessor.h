#pragma once
#include <string>

#include "web/web_parser/WebModules.h"
#include "web/web_processor/WebCommandProcessor.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace web
{
// The mail settings, receiver and body of one test mail.
struct _TestEmail
{
    std::string server;
    int port = 0;
    std::string user;
    std::string password;
    std::string receiver;
    std::string body;
};

// Code 16: hands the test mail to the mail program and does not wait for it.
class EmailProcessor final
    : public WebResultProcessor<WebNoModule, _TestEmail, &WebPacketBuilder::buildSendEmailRetPacket>
{
public:
    using WebResultProcessor::WebResultProcessor;

    int work() override;
};
}
