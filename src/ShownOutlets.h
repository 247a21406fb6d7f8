#pragma once

// What the unit shows of one module's outlets, on every interface: the
// module's latest status report naming each. Only an outlet's last command,
// once acknowledged, shows what it asked until a report of a poll the module
// heard after its frame, which then says what the outlet is: a welded relay
// shows on, though its off was acknowledged. A report of fewer outlets says
// nothing of the others: they show as before.
class ShownOutlets
{
public:
    // The outlet's last command was acknowledged as done.
    void acknowledged(int outlet, bool on);
    // A report naming outlets 0 to outlets - 1: onBits, and freshBits the
    // outlets whose last frame the module had heard when it reported.
    void reported(int outlets, unsigned char onBits, unsigned char freshBits);
    // 1 on, 0 off, -1 before any report naming it or acknowledgement.
    int state(int outlet) const;
    // A report's bits as shown.
    unsigned char bits(unsigned char reported) const;
    // The outlets 0 to outlets - 1, as bits; none for 0 or fewer.
    static unsigned char named(int outlets);

private:
    unsigned char held_ = 0;  // outlets showing their acknowledged command
    unsigned char heldOn_ = 0;
    unsigned char reported_ = 0;
    unsigned char known_ = 0;  // outlets some report has named
};
