#include "web/web_processor/EmailProcessor.h"

#include "Email.h"

namespace web
{
int EmailProcessor::work()
{
    // The mail program's own outcome is never known here, only whether the
    // mail got its turn.
    return Email::sendEmail(fields_.server, fields_.port, fields_.user, fields_.password, fields_.receiver,
                            fields_.body)
               ? 0
               : -1;
}
}
