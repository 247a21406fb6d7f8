#include "web/web_parser/NameQueryParser.h"

namespace web
{
bool NameQueryParser::read(const Value& content, int addr, NameQueryProcessor& processor)
{
    processor.address = addr;
    processor.unitName = isTrue(content, "device");
    std::vector<int> ports;
    if (find(content, "ports") && !readIntArray(content, "ports", ports))
        return false;
    for (int port : ports)
        if (port < 0)
            return false;
    processor.ports.insert(ports.begin(), ports.end());
    return true;
}
}
