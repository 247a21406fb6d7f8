#pragma once
#include <string>

// Stateless helpers shared by every subsystem: IPv4 texts, the unit's
// interface addresses, the identity string, calendar stepping, hexadecimal
// text, tolerant double comparisons and UTF-8 repair.
class Utility
{
public:
    struct NetworkQeuryEntry
    {
        bool valid = false;
        unsigned int ip = 0;       // host byte order
        unsigned int netmask = 0;  // host byte order
        unsigned char mac[6] = {};
    };
    // entries[0] is "eth0", entries[1] "eth1".
    struct NetworkQeuryResult
    {
        NetworkQeuryEntry entries[2];
    };

    static constexpr double kInvalidDoubleValue = 2147483648.0;
    static constexpr double kDoubleTolerance = 1e-5;

    static unsigned int makeIp(unsigned char a, unsigned char b, unsigned char c, unsigned char d);
    static void extractIp(unsigned int ip, unsigned char& a, unsigned char& b, unsigned char& c, unsigned char& d);
    // out in network byte order.
    static bool ipStringToNetwork(const std::string& text, unsigned int& out);
    static bool ipNetworkToString(unsigned int networkOrder, std::string& out);
    static void getNetworkParam(NetworkQeuryResult* result);

    static bool parseUid(const std::string& uid, int& outlets, int& maxCurrent);

    static void prevDay(int& year, int& month, int& day);
    static void prevHour(int& year, int& month, int& day, int& hour);
    static void nextDay(int& year, int& month, int& day);
    static void nextHour(int& year, int& month, int& day, int& hour);
    static void forwardMonth(int& year, int& month, int n);
    static bool isLeapYear(int year);
    static int daysInMonth(int year, int month);

    static void toHexString(std::string& out, int value, int digits);

    static bool isInvalidDoubleValue(double v);
    static bool isGreaterThanDoubleValue(double a, double b);
    static bool isLessThanDoubleValue(double a, double b);
    static bool isEqualToDoubleValue(double a, double b);

    // Zero-fills a UTF-8 character cut by the end of the first length bytes.
    static void normalizeUtf8String(char* text, int length);
};
