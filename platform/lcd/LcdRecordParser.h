#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>

#include "LcdRecord.h"

// Splits the byte stream of a stand-in device file into records:
//   'I', request (u32 BE), argument size (u32 BE), the argument
//   'W', length (u32 BE), 0 (u32 BE), the bytes
// Bytes may arrive in any chunking. A byte that cannot start a record is
// skipped; a record longer than the limits is skipped whole.
class LcdRecordParser
{
public:
    using Sink = std::function<void(const LcdRecord&)>;
    static constexpr uint32_t kMaxIoctlArgument = 256;
    static constexpr uint32_t kMaxWrite = 4096;

    explicit LcdRecordParser(Sink sink) : sink_(std::move(sink)) {}

    void feed(const uint8_t* data, size_t length);
    // Forgets a partly received record (the stream starts over).
    void reset();

    uint64_t records() const { return records_; }
    uint64_t skippedBytes() const { return skippedBytes_; }
    uint64_t oversizeRecords() const { return oversizeRecords_; }

private:
    static constexpr size_t kHeaderSize = 9;

    void headerDone();

    Sink sink_;
    uint8_t header_[kHeaderSize] = {};
    size_t headerFill_ = 0;
    LcdRecord current_;
    size_t bodyLeft_ = 0;
    uint64_t skipLeft_ = 0;
    uint64_t records_ = 0;
    uint64_t skippedBytes_ = 0;
    uint64_t oversizeRecords_ = 0;
};
