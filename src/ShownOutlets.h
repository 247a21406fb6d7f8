#pragma once

// What the unit shows of one module's outlets, on every interface: the
// module's latest status report. Only an outlet's last command, once
// acknowledged, shows what it asked until a report of a poll the module
// heard after its frame, which then says what the outlet is: a welded relay
// shows on, though its off was acknowledged.
class ShownOutlets
{
public:
    // The outlet's last command was acknowledged as done.
    void acknowledged(int outlet, bool on);
    // A report: onBits, and freshBits the outlets whose last frame the
    // module had heard when it reported.
    void reported(unsigned char onBits, unsigned char freshBits);
    // 1 on, 0 off, -1 before any report or acknowledgement.
    int state(int outlet) const;
    // A report's bits as shown.
    unsigned char bits(unsigned char reported) const;

private:
    unsigned char held_ = 0;  // outlets showing their acknowledged command
    unsigned char heldOn_ = 0;
    unsigned char reported_ = 0;
    bool known_ = false;
};
