#pragma once
// How the fuzz targets cut one input into the pieces a stream parser is fed,
// so that splits and pauses are explored along with the bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace fuzz
{
// The first byte picks one piece length from 1 to maxPiece; the rest of the
// input goes to feed(bytes, n) in pieces of that length (the last may be
// shorter).
template <class Feed>
void forEachPiece(const uint8_t* data, size_t size, size_t maxPiece, Feed&& feed)
{
    const size_t piece = size > 0 ? data[0] % maxPiece + 1 : 1;
    for (size_t at = 1; at < size; at += piece)
        feed(data + at, std::min(piece, size - at));
}

// Each chunk is a control byte, then as many bytes as its bits under
// lengthMask say (fewer at the end of the input); feed(control, bytes, n)
// gets every chunk, empty ones too.
template <class Feed>
void forEachChunk(const uint8_t* data, size_t size, uint8_t lengthMask, Feed&& feed)
{
    size_t pos = 0;
    while (pos < size)
    {
        const uint8_t control = data[pos++];
        const size_t n = std::min<size_t>(control & lengthMask, size - pos);
        feed(control, data + pos, n);
        pos += n;
    }
}

// Each record is a control byte and a big-endian 16-bit length, then as
// many bytes (fewer at the end of the input); feed(control, bytes, n) gets
// every whole header's record. For inputs that hold frames of any size.
template <class Feed>
void forEachRecord(const uint8_t* data, size_t size, Feed&& feed)
{
    size_t at = 0;
    while (at + 3 <= size)
    {
        const uint8_t control = data[at];
        const size_t n = std::min<size_t>((size_t(data[at + 1]) << 8) | data[at + 2], size - at - 3);
        feed(control, reinterpret_cast<const char*>(data + at + 3), n);
        at += 3 + n;
    }
}
}
