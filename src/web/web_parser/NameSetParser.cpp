#include "web/web_parser/NameSetParser.h"

#include "muduo/base/Logging.h"

namespace web
{
bool NameSetParser::read(const Value& content, int, std::map<int, std::string>& names)
{
    std::string unitName;
    if (find(content, "device_name") && !readString(content, "device_name", unitName))
        return false;
    const Value* list = find(content, "port_names");
    if (list && !list->IsArray())
        return false;
    for (rapidjson::SizeType i = 0; list && i < list->Size(); ++i)
    {
        const Value& element = (*list)[i];
        int port = 0;
        std::string name;
        if (!readInt(element, "port", port) || !readString(element, "name", name))
            return false;
        // Key -1 is the unit's own name: no outlet number may reach it.
        if (port < 0)
        {
            LOG_WARN << "name of outlet " << port << " dropped: no such outlet";
            continue;
        }
        names[port] = name;
    }
    if (!unitName.empty())
        names.emplace(int(NameSettings::kUnitName), unitName);
    return true;
}
}
