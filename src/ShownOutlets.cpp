#include "ShownOutlets.h"

namespace
{
unsigned char bit(int outlet) { return static_cast<unsigned char>(outlet >= 0 && outlet < 8 ? 1u << outlet : 0); }
}

unsigned char ShownOutlets::named(int outlets)
{
    return static_cast<unsigned char>(outlets <= 0 ? 0 : outlets >= 8 ? 0xFF : (1u << outlets) - 1);
}

void ShownOutlets::acknowledged(int outlet, bool on)
{
    held_ |= bit(outlet);
    heldOn_ = static_cast<unsigned char>(on ? heldOn_ | bit(outlet) : heldOn_ & ~bit(outlet));
}

void ShownOutlets::reported(int outlets, unsigned char onBits, unsigned char freshBits)
{
    const unsigned char these = named(outlets);
    held_ &= static_cast<unsigned char>(~(freshBits & these));
    reported_ = static_cast<unsigned char>((reported_ & ~these) | (onBits & these));
    known_ |= these;
}

int ShownOutlets::state(int outlet) const
{
    if (held_ & bit(outlet))
        return (heldOn_ & bit(outlet)) ? 1 : 0;
    if (!(known_ & bit(outlet)))
        return -1;
    return (reported_ & bit(outlet)) ? 1 : 0;
}

unsigned char ShownOutlets::bits(unsigned char reported) const
{
    return static_cast<unsigned char>((reported & ~held_) | (heldOn_ & held_));
}
