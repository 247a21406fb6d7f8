#pragma once

// Who waits for a relayed answer, and so where it goes.
enum CascadeRelayType : int
{
    kCascadeRelayLocal = 0,    // the master's own poll: only its records change
    kCascadeRelayMgrCtrl = 1,  // a manage-control client: an answer frame on its connection
    kCascadeRelayWeb = 2,      // a web client: a JSON datagram to its address
};
