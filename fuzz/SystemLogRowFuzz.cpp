// One stored event-log row (content, then datetime after the first newline)
// as the log query reads it back from pdu.db.
#include <cstdint>
#include <string>

#include "SystemLog.h"
#include "muduo/base/Logging.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = [] {
        muduo::Logger::setLogLevel(muduo::Logger::FATAL);
        return true;
    }();
    (void)quiet;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const size_t cut = bytes.find('\n');
    const std::string content = bytes.substr(0, cut);
    const std::string datetime = cut == std::string::npos ? std::string() : bytes.substr(cut + 1);
    _SystemLogItem item{};
    if (SystemLog::instance()->parseRow(content, datetime, item))
    {
        if (item.month < 0 || item.second < 0 || item.year < 0)
            __builtin_trap();
    }
    return 0;
}
