// Texts that reach the settings store from a file or a wire: identity
// strings, MAC and number texts, NetBIOS names, UTF-8 fields and the stored
// slave list.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "GlobalData.h"
#include "JsonCpp.h"
#include "SettingsTable.h"
#include "Utility.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    int outlets = 0, current = 0;
    Utility::parseUid(text, outlets, current);

    char mac[6] = {};
    GlobalData::stringToMac(text, mac);

    int number = 0;
    SettingsTable::parseInteger(text, -2147483648L, 2147483647L, number);
    SettingsTable::parseDigits(text, 65535, number);

    _NetbiosName name;
    GlobalData::stringToNetbiosName(text, name);

    std::vector<char> field(text.begin(), text.end());
    if (!field.empty())
        Utility::normalizeUtf8String(field.data(), static_cast<int>(field.size()));

    unsigned int ip = 0;
    Utility::ipStringToNetwork(text, ip);

    Json::JsonCpp json;
    json.Parse(text);
    return 0;
}
