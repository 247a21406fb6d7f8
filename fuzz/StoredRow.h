#pragma once
// Values of stored rows taken from a fuzz input: each is a type byte, then
// its bytes, so that a column can hold any of SQLite's types whatever the
// schema says (as a replaced database file can).
#include <SQLiteCpp/Statement.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace fuzz
{
class StoredRow
{
public:
    StoredRow(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool empty() const { return size_ == 0; }

    // The next byte; 0 past the end.
    uint8_t byte()
    {
        if (size_ == 0)
            return 0;
        --size_;
        return *data_++;
    }

    // One of the keys the daemon reads from settings, by the next byte.
    const char* settingKey()
    {
        static const char* const kKeys[] = {
            "hard_id", "pdu_type",  "slave_address",  "slave_addresses", "language", "description",
            "soft_version", "ip", "mask", "gateway", "dns", "second_dns", "dhcp", "mac", "netbios_name",
            "http_port", "https_port", "enable_redirect", "manage_control_port", "ntp_server_ip",
            "second_ntp_server_ip", "screen_dir", "backlight_auto_off"};
        return kKeys[byte() % (sizeof kKeys / sizeof kKeys[0])];
    }

    // Binds the next value to parameter index.
    void bindNext(SQLite::Statement& statement, int index)
    {
        static const char* const kTexts[] = {"",           "0",           "-1",         "2147483648",
                                             "1e999",      "master",      "2024-02-29", "23:59:60",
                                             "0.0.0.0",    "[{\"addr\":1}]", "255.255.255.255", "-0"};
        switch (byte() % 8)
        {
        case 0: statement.bind(index); break;
        case 1: statement.bind(index, static_cast<int>(static_cast<int8_t>(byte()))); break;
        case 2: statement.bind(index, static_cast<int>(static_cast<int32_t>(take<uint32_t>()))); break;
        case 3: statement.bind(index, static_cast<int64_t>(take<uint64_t>())); break;
        case 4:
        {
            const uint64_t bits = take<uint64_t>();
            double value = 0;
            std::memcpy(&value, &bits, sizeof value);
            statement.bind(index, value);
            break;
        }
        case 5: statement.bind(index, text()); break;
        case 6:
        {
            const std::string bytes = text();
            statement.bind(index, bytes.data(), static_cast<int>(bytes.size()));
            break;
        }
        default: statement.bind(index, kTexts[byte() % (sizeof kTexts / sizeof kTexts[0])]); break;
        }
    }

private:
    template <class T>
    T take()
    {
        T value = 0;
        for (size_t i = 0; i < sizeof(T); ++i)
            value = static_cast<T>(value << 8 | byte());
        return value;
    }

    // A length byte, then up to that many bytes.
    std::string text()
    {
        const size_t n = std::min<size_t>(byte(), size_);
        std::string out(reinterpret_cast<const char*>(data_), n);
        data_ += n;
        size_ -= n;
        return out;
    }

    const uint8_t* data_;
    size_t size_;
};
}
