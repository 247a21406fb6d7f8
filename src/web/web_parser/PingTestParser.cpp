#include "web/web_parser/PingTestParser.h"

#include <arpa/inet.h>

#include "Utility.h"

namespace web
{
bool PingTestParser::read(const Value& content, int, _PingTest& test)
{
    unsigned int address = 0;
    if (!readInt(content, "port", test.port) || !readString(content, "ip", test.host))
        return false;
    if (!Utility::ipStringToNetwork(test.host, address))
    {
        LOG_WARN << "ping test of port " << test.port << ": \"" << test.host << "\" is no IPv4 address";
        return false;
    }
    test.ip = ntohl(address);
    return true;
}
}
