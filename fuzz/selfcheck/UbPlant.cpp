// Built only for fuzz/selfcheck/check: every input is parsed as JSON (which
// reaches the suppressed RapidJSON fault), then RAILBOX_UB_PLANT picks the
// undefined operation done on it: "pointer" (the very check the suppression
// names, here in our own code), "shift" or "none".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "JsonCpp.h"

namespace
{
const char* plant()
{
    static const char* mode = ::getenv("RAILBOX_UB_PLANT") ? ::getenv("RAILBOX_UB_PLANT") : "none";
    return mode;
}

// Opaque to the optimiser, so the operations below stay in the program.
template <class T>
T launder(T value)
{
    asm volatile("" : "+r"(value));
    return value;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Json::JsonCpp json;
    json.Parse(std::string(reinterpret_cast<const char*>(data), size));
    if (std::strcmp(plant(), "pointer") == 0)
        launder(launder(static_cast<const char*>(nullptr)) + size + 1);
    else if (std::strcmp(plant(), "shift") == 0)
        launder(1 << launder(static_cast<int>(size % 8) + 32));
    return 0;
}
