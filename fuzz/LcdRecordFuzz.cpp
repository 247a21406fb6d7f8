// The LCD stand-in's record parser and panel model on arbitrary bytes, fed
// in arbitrary chunks (the first byte of the input sets the chunk size).
#include <cstddef>
#include <cstdint>

#include "FuzzSplit.h"
#include "LcdPanel.h"
#include "LcdRecordParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LcdPanel panel;
    LcdRecordParser parser([&panel](const LcdRecord& r) { panel.apply(r); });
    fuzz::forEachPiece(data, size, 16, [&parser](const uint8_t* bytes, size_t n) { parser.feed(bytes, n); });
    int lit = 0;
    for (int y = -1; y <= 64; ++y)
        for (int x = -1; x <= 128; ++x)
            lit += panel.pixel(x, y);
    return lit < 0;
}
