#pragma once
#include <map>
#include <string>

#include "DeviceRecords.h"

class PingTaskContainer;

// The ping watchdogs of this unit's outlets and their one-shot tests. Loop
// thread only; cheap to make per request.
class PingOperations
{
public:
    explicit PingOperations(PingTaskContainer& tasks) : tasks_(tasks) {}

    // Saves every setting (keyed by outlet) in one transaction, then, for the
    // outlets of this unit, takes each into the record and restarts its
    // watchdog when enabled, else stops it. False, with nothing changed,
    // when the save fails (also when an outlet has no ping row).
    bool apply(const std::map<int, PingSetting>& settings);

    // Starts one echo request to the host (dotted IPv4 text) with a 3 s wait
    // and clears the outlet's test result until the echo arrives. The test
    // takes the place of the outlet's watchdog. False, with nothing started,
    // for an outlet this unit lacks or a host that is not an IPv4 address.
    bool test(int port, const std::string& host);

    // True when the outlet's latest test got its echo.
    static bool testAnswered(int port);

private:
    PingTaskContainer& tasks_;
};
