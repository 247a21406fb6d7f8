#pragma once
#include <cstdint>

// Outlet sets travel as 32-bit masks, or 64-bit ones for wide units.
template <typename M>
struct MaskTraits
{
    static constexpr int kWidth = static_cast<int>(sizeof(M) * 8);
    static constexpr M kTopBit = static_cast<M>(M(1) << (kWidth - 1));
    static constexpr int kLastOutlet = kWidth - 1;

    static bool test(M mask, int bit) { return bit >= 0 && bit < kWidth && ((mask >> bit) & 1u); }
    static M bit(int outlet) { return (outlet >= 0 && outlet < kWidth) ? static_cast<M>(M(1) << outlet) : M(0); }

    // Calls f(outlet) for every set bit, lowest first.
    template <typename F>
    static void forEachSetBit(M mask, F f)
    {
        for (int i = 0; i < kWidth; ++i)
            if ((mask >> i) & 1u)
                f(i);
    }
};
