#include "ShownOutlets.h"

namespace
{
unsigned char bit(int outlet) { return static_cast<unsigned char>(outlet >= 0 && outlet < 8 ? 1u << outlet : 0); }
}

void ShownOutlets::acknowledged(int outlet, bool on)
{
    held_ |= bit(outlet);
    heldOn_ = static_cast<unsigned char>(on ? heldOn_ | bit(outlet) : heldOn_ & ~bit(outlet));
}

void ShownOutlets::reported(unsigned char onBits, unsigned char freshBits)
{
    held_ &= static_cast<unsigned char>(~freshBits);
    reported_ = onBits;
    known_ = true;
}

int ShownOutlets::state(int outlet) const
{
    if (held_ & bit(outlet))
        return (heldOn_ & bit(outlet)) ? 1 : 0;
    if (!known_ || !bit(outlet))
        return -1;
    return (reported_ & bit(outlet)) ? 1 : 0;
}

unsigned char ShownOutlets::bits(unsigned char reported) const
{
    return static_cast<unsigned char>((reported & ~held_) | (heldOn_ & held_));
}
