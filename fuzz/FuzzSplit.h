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
}
