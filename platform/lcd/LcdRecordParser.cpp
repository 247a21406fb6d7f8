#include "LcdRecordParser.h"

#include <algorithm>

namespace
{
uint32_t be32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 | p[3];
}
}

void LcdRecordParser::reset()
{
    headerFill_ = 0;
    bodyLeft_ = 0;
    skipLeft_ = 0;
    current_ = LcdRecord();
}

void LcdRecordParser::headerDone()
{
    headerFill_ = 0;
    bool ioctl = header_[0] == 'I';
    uint32_t size = ioctl ? be32(header_ + 5) : be32(header_ + 1);
    if (size > (ioctl ? kMaxIoctlArgument : kMaxWrite))
    {
        ++oversizeRecords_;
        skipLeft_ = size;
        return;
    }
    current_.kind = ioctl ? LcdRecord::kIoctl : LcdRecord::kWrite;
    current_.request = ioctl ? be32(header_ + 1) : 0;
    current_.data.clear();
    current_.data.reserve(size);
    bodyLeft_ = size;
    if (bodyLeft_ == 0)
    {
        ++records_;
        sink_(current_);
    }
}

void LcdRecordParser::feed(const uint8_t* data, size_t length)
{
    const uint8_t* end = data + length;
    while (data < end)
    {
        if (skipLeft_ > 0)
        {
            uint64_t n = std::min<uint64_t>(skipLeft_, static_cast<uint64_t>(end - data));
            skipLeft_ -= n;
            skippedBytes_ += n;
            data += n;
        }
        else if (bodyLeft_ > 0)
        {
            size_t n = std::min(bodyLeft_, static_cast<size_t>(end - data));
            current_.data.insert(current_.data.end(), data, data + n);
            bodyLeft_ -= n;
            data += n;
            if (bodyLeft_ == 0)
            {
                ++records_;
                sink_(current_);
            }
        }
        else if (headerFill_ == 0 && *data != 'I' && *data != 'W')
        {
            ++skippedBytes_;
            ++data;
        }
        else
        {
            header_[headerFill_++] = *data++;
            if (headerFill_ == kHeaderSize)
                headerDone();
        }
    }
}
