#include "Utility.h"

#include <arpa/inet.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>

#include "muduo/base/Logging.h"

unsigned int Utility::makeIp(unsigned char a, unsigned char b, unsigned char c, unsigned char d)
{
    return (static_cast<unsigned int>(a) << 24) | (static_cast<unsigned int>(b) << 16) |
           (static_cast<unsigned int>(c) << 8) | d;
}

void Utility::extractIp(unsigned int ip, unsigned char& a, unsigned char& b, unsigned char& c, unsigned char& d)
{
    a = static_cast<unsigned char>(ip >> 24);
    b = static_cast<unsigned char>(ip >> 16);
    c = static_cast<unsigned char>(ip >> 8);
    d = static_cast<unsigned char>(ip);
}

bool Utility::ipStringToNetwork(const std::string& text, unsigned int& out)
{
    in_addr addr{};
    if (::inet_pton(AF_INET, text.c_str(), &addr) != 1)
        return false;
    out = addr.s_addr;
    return true;
}

bool Utility::ipNetworkToString(unsigned int networkOrder, std::string& out)
{
    in_addr addr{};
    addr.s_addr = networkOrder;
    char text[INET_ADDRSTRLEN] = {};
    if (!::inet_ntop(AF_INET, &addr, text, sizeof text))
        return false;
    out = text;
    return true;
}

void Utility::getNetworkParam(NetworkQeuryResult* result)
{
    for (auto& e : result->entries)
        e.valid = false;
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
    {
        LOG_ERROR << "socket failed " << ::strerror(errno);
        return;
    }
    ifreq records[16];
    ifconf conf{};
    conf.ifc_len = sizeof records;
    conf.ifc_req = records;
    if (::ioctl(fd, SIOCGIFCONF, &conf) < 0)
    {
        LOG_ERROR << "ioctl:" << ::strerror(errno);
        ::close(fd);
        return;
    }
    int count = conf.ifc_len / static_cast<int>(sizeof(ifreq));
    for (int i = count - 1; i >= 0; --i)
    {
        ifreq req = records[i];
        int slot = std::strcmp(req.ifr_name, "eth0") == 0 ? 0 : std::strcmp(req.ifr_name, "eth1") == 0 ? 1 : -1;
        if (slot < 0)
            continue;
        NetworkQeuryEntry& entry = result->entries[slot];
        if (::ioctl(fd, SIOCGIFFLAGS, &req) < 0 && errno == ENODEV)
        {
            LOG_ERROR << "ioctl:" << ::strerror(errno);
            continue;
        }
        req = records[i];
        if (::ioctl(fd, SIOCGIFADDR, &req) < 0)
        {
            LOG_ERROR << "ioctl:" << ::strerror(errno);
            continue;
        }
        entry.ip = ntohl(reinterpret_cast<sockaddr_in*>(&req.ifr_addr)->sin_addr.s_addr);
        if (::ioctl(fd, SIOCGIFNETMASK, &req) < 0)
        {
            LOG_ERROR << "ioctl:" << ::strerror(errno);
            continue;
        }
        entry.netmask = ntohl(reinterpret_cast<sockaddr_in*>(&req.ifr_netmask)->sin_addr.s_addr);
        if (::ioctl(fd, SIOCGIFHWADDR, &req) < 0)
        {
            LOG_ERROR << "ioctl:" << ::strerror(errno);
            continue;
        }
        std::memcpy(entry.mac, req.ifr_hwaddr.sa_data, sizeof entry.mac);
        entry.valid = true;
    }
    ::close(fd);
}

bool Utility::parseUid(const std::string& uid, int& outlets, int& maxCurrent)
{
    if (uid.size() != 16 || uid[0] != 'G')
        return false;
    int count = 0;
    char c = uid[2];
    if (c >= '1' && c <= '6')
        count = 4 * (c - '0');
    else if (c >= 'A' && c <= 'E')
        count = 32 + 4 * (c - 'A');
    else if (c == '0')
        count = 1;
    else if (c == '7')
        count = 2;
    else if (c == '8')
        count = 3;
    else if (c == '9')
        count = 28;
    else if (c == 'F')
        count = 42;
    else
        return false;

    char m = uid[4];
    int current = 0;
    if (m == 'F')
        current = 32;
    else if (m == 'E')
        current = 63;
    else if (m == '1')
        current = count;
    else if (m == '2')
        current = count * 3;
    else if (m >= '4' && m <= '9')
        current = count * (m - '0');
    else
        current = count * 2;  // '3' and anything else
    outlets = count;
    maxCurrent = current;
    return true;
}

bool Utility::isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int Utility::daysInMonth(int year, int month)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 31;
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

void Utility::nextDay(int& year, int& month, int& day)
{
    if (++day <= daysInMonth(year, month))
        return;
    day = 1;
    if (++month > 12)
    {
        month = 1;
        ++year;
    }
}

void Utility::prevDay(int& year, int& month, int& day)
{
    if (day > 1)
    {
        --day;
        return;
    }
    if (--month < 1)
    {
        month = 12;
        --year;
    }
    day = daysInMonth(year, month);
}

void Utility::nextHour(int& year, int& month, int& day, int& hour)
{
    if (++hour <= 23)
        return;
    hour = 0;
    nextDay(year, month, day);
}

void Utility::prevHour(int& year, int& month, int& day, int& hour)
{
    if (--hour >= 0)
        return;
    hour = 23;
    prevDay(year, month, day);
}

void Utility::forwardMonth(int& year, int& month, int n)
{
    int t = month - 1 + n;
    year += t / 12;
    month = t % 12 + 1;
}

void Utility::toHexString(std::string& out, int value, int digits)
{
    static const char kHex[] = "0123456789ABCDEF";
    out.clear();
    unsigned int v = static_cast<unsigned int>(value);
    for (int i = digits - 1; i >= 0; --i)
        out += i < 8 ? kHex[(v >> (4 * i)) & 0xF] : '0';
}

bool Utility::isInvalidDoubleValue(double v) { return std::fabs(v - kInvalidDoubleValue) < kDoubleTolerance; }

bool Utility::isGreaterThanDoubleValue(double a, double b) { return a > b && std::fabs(a - b) >= kDoubleTolerance; }

bool Utility::isLessThanDoubleValue(double a, double b) { return a < b && std::fabs(a - b) >= kDoubleTolerance; }

bool Utility::isEqualToDoubleValue(double a, double b) { return std::fabs(a - b) < kDoubleTolerance; }

void Utility::normalizeUtf8String(char* text, int length)
{
    int i = 0;
    while (i < length)
    {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int size = 1;
        if (c & 0x80)
            for (int bit = 6; bit >= 4 && (c & (1 << bit)); --bit)
                ++size;
        if (i + size > length)
        {
            std::memset(text + i, 0, static_cast<size_t>(length - i));
            return;
        }
        i += size;
    }
}
