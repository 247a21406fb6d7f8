#include "web/web_parser/NameQueryParser.h"

namespace web
{
bool NameQueryParser::read(const Value& content, int addr, _NameQuery& query)
{
    query.address = addr;
    query.unitName = isTrue(content, "device");
    std::vector<int> ports;
    if (find(content, "ports") && !readIntArray(content, "ports", ports))
        return false;
    for (int port : ports)
        if (port < 0)
            return false;
    query.ports.insert(ports.begin(), ports.end());
    return true;
}
}
