#include "support/DeviceRecords.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "netext/WireReader.h"
#include "platform/core/BoardDevice.h"
#include "platform/core/BoardRoot.h"

namespace test
{
DeviceRecordStream parseDeviceRecords(const std::string& bytes)
{
    DeviceRecordStream out;
    muduo::net::WireReader reader(bytes.data(), bytes.size());
    for (;;)
    {
        size_t start = reader.consumed();
        uint8_t kind = 0;
        uint32_t a = 0, size = 0;
        DeviceRecord r;
        if (!reader.u8(kind) || (kind != board::kIoctlRecord && kind != board::kWriteRecord) || !reader.be32(a) ||
            !reader.be32(size))
        {
            out.leftover = bytes.size() - start;
            return out;
        }
        size_t length = kind == board::kIoctlRecord ? size : a;
        if (reader.remaining() < length)
        {
            out.leftover = bytes.size() - start;
            return out;
        }
        r.kind = static_cast<char>(kind);
        r.request = a;
        r.arg.assign(reinterpret_cast<const char*>(reader.current()), length);
        reader.skip(length);
        out.records.push_back(r);
    }
}

DeviceRecordStream readDeviceRecords(const std::string& boardPath)
{
    std::ifstream in(board::path(boardPath), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parseDeviceRecords(bytes);
}

void makeRecordingDevice(const std::string& boardPath)
{
    std::string path = board::path(boardPath);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc);
}
}
