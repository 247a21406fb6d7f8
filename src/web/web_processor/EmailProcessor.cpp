#include "web/web_processor/EmailProcessor.h"

#include "Email.h"

namespace web
{
int EmailProcessor::work()
{
    Email::sendEmail(fields_.server, fields_.port, fields_.user, fields_.password, fields_.receiver, fields_.body);
    return 0;
}
}
