#pragma once
#include <string>

namespace snmp
{
// The value of one configuration item: the one field its kind uses.
struct SnmpValue
{
    enum Kind
    {
        kText,    // a JSON string
        kNumber,  // a signed 32-bit JSON integer
        kLimit,   // any JSON number; answered with at most two decimals
        kFlag,    // true or false
    };

    std::string text;  // up to its first NUL
    int number = 0;
    double limit = 0;
    bool flag = false;
};
}
