#include "web/web_parser/EmailParser.h"

namespace web
{
bool EmailParser::read(const Value& content, int, _TestEmail& mail)
{
    if (!readString(content, "smtp_server", mail.server))
        return false;
    LOG_INFO << "smtp server:" << mail.server;
    if (!readInt(content, "smtp_port", mail.port))
        return false;
    LOG_INFO << "smtp port:" << mail.port;
    if (!readString(content, "user", mail.user))
        return false;
    LOG_INFO << "user:" << mail.user;
    if (!readString(content, "password", mail.password) || !readString(content, "receiver", mail.receiver))
        return false;
    LOG_INFO << "receiver:" << mail.receiver;
    // The body sits in a "content" of its own inside the request's "content".
    if (!readString(content, "content", mail.body))
        return false;
    LOG_INFO << "content:" << mail.body;
    return true;
}
}
