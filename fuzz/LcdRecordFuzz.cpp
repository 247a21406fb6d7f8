// The LCD stand-in's record parser and panel model on arbitrary bytes, fed
// in arbitrary chunks (the first byte of the input sets the chunk size).
#include <cstddef>
#include <cstdint>

#include "LcdPanel.h"
#include "LcdRecordParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    size_t chunk = data[0] % 16 + 1;
    LcdPanel panel;
    LcdRecordParser parser([&panel](const LcdRecord& r) { panel.apply(r); });
    for (size_t at = 1; at < size; at += chunk)
        parser.feed(data + at, size - at < chunk ? size - at : chunk);
    int lit = 0;
    for (int y = -1; y <= 64; ++y)
        for (int x = -1; x <= 128; ++x)
            lit += panel.pixel(x, y);
    return lit < 0;
}
