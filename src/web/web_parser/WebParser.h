#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "JsonCpp.h"
#include "muduo/base/noncopyable.h"

struct _DeviceDateTime;
struct _SlaveDevice;

namespace web
{
class WebProcessor;

// Reads one web command's "content" into the processor that carries it out.
// One per command, owned by the factory's table. The helpers read a JSON
// value only through the accessor its type allows, so a value of the wrong
// type fails the check instead of being converted; an object holding a key
// twice counts the first.
class WebParser : muduo::noncopyable
{
public:
    // Results of parse.
    static const int kMalformed = 0;  // no processor, nothing is answered
    static const int kRelay = 1;      // the processor carries a relay to a slave
    static const int kLocal = 2;      // the processor works on this unit

    virtual ~WebParser();

    virtual int parse(Json::JsonCpp& request, std::shared_ptr<WebProcessor>& processor) = 0;

protected:
    typedef rapidjson::Value Value;

    // The top-level "content" object; null when absent or not an object.
    static const Value* content(const Json::JsonCpp& request);
    // Members by name; null when absent or of another type.
    static const Value* find(const Value& object, const char* key);
    static const Value* findObject(const Value& object, const char* key);
    static const Value* findArray(const Value& object, const char* key);

    // Required keys: false when absent or of another type. An integer is a
    // number without fraction or exponent within signed 32 bits; an unsigned
    // one lies within 0 to 4294967295. Strings end at their first NUL.
    static bool readInt(const Value& object, const char* key, int& out);
    static bool readUint(const Value& object, const char* key, uint32_t& out);
    static bool readString(const Value& object, const char* key, std::string& out);
    // An array (possibly empty) of integers.
    static bool readIntArray(const Value& object, const char* key, std::vector<int>& out);
    // An object with the integers "year", "month", "day", "hour", "minute"
    // and "second".
    static bool readDateTime(const Value& object, const char* key, _DeviceDateTime& out);

    // Optional keys, which never fail: the integer, else the fallback.
    static int intOr(const Value& object, const char* key, int fallback);
    // A limit: any JSON number as a double, else the invalid value.
    static double limitOr(const Value& object, const char* key);
    // Only the JSON literal true counts.
    static bool isTrue(const Value& object, const char* key);

    // "addr": absent gives 0; an integer from 0 to 255, else false.
    static bool readAddr(const Value& content, int& addr);

    // Bit n for each outlet n from 0 to 63 in the list; other numbers add none.
    static uint64_t outletMask(const std::vector<int>& ports);
    // A limit pair: both keys must hold numbers (then true), else each
    // limit is what limitOr gives.
    static bool readLimitPair(const Value& object, const char* upper, const char* lower, double& upperOut,
                              double& lowerOut);

    // The slave a relay goes to (its outlet count picks the relay's width);
    // null, with a log line, on a unit that is not the master or for an
    // address the slave map lacks. Nothing goes out on the line for either.
    static const _SlaveDevice* findSlave(int addr);
    // For commands with one relay class: the same look-up.
    static bool mayRelay(int addr);
};
}
