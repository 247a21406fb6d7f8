#pragma once
#include <string>

#include "JsonCpp.h"

namespace snmp
{
// Reads members of an SNMP request. A value is read only through the
// accessor of its own JSON type, so one of another type counts as missing;
// an object holding a key twice counts the first; a member of anything but
// an object is missing.
class SnmpFields
{
public:
    typedef rapidjson::Value Value;

    static const Value* find(const Value& object, const char* key);
    // Null unless the member is an object.
    static const Value* findObject(const Value& object, const char* key);
    // Only the JSON literal true.
    static bool isTrue(const Value& object, const char* key);
    // A number without fraction or exponent within signed 32 bits.
    static bool readInt(const Value& object, const char* key, int& out);
    // Any number, as a double.
    static bool readNumber(const Value& object, const char* key, double& out);
    // A string, up to its first NUL.
    static bool readString(const Value& object, const char* key, std::string& out);
    // true or false.
    static bool readBool(const Value& object, const char* key, bool& out);
};
}
