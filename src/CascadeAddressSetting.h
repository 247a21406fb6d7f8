#pragma once

// A new cascade address for this unit, stored in pdu.db; the chain uses it
// from the next start. Addresses outside 1 to 127 would lose the unit from
// the chain (0 is the master's) and are refused.
class CascadeAddressSetting
{
public:
    static const int kFirst = 1;
    static const int kLast = 127;

    // intoRecord: a unit that is not the master also takes the address into
    // its record at once. False, with nothing changed, for an address out of
    // range or a failed save.
    static bool set(int address, bool intoRecord);
};
