#pragma once
#include <cstdint>
#include <memory>

#include "PortDatabase.h"
#include "muduo/base/noncopyable.h"

class PowerModuleContainer;

// Keeps the outlets' wanted on/off states across power cycles: a switching
// request is stored in outlet.db once a status report shows the outlet got
// there, outlets stored on but found off are switched on again, and at
// start-up every outlet stored on is switched on after its on-delay. A state
// whose write failed is written again with the next status report. The
// container sees each report first and keeps an outlet switched since
// start-up as its last switching asks (PowerModuleContainer); one it found
// not following it switches less and less often, and no one else meanwhile.
// Masks hold global ports 0 to 63 (bit p = port p). Loop thread only.
class PortStatusManager : muduo::noncopyable
{
public:
    explicit PortStatusManager(const std::shared_ptr<PowerModuleContainer>& container);
    ~PortStatusManager();

    void start();
    void startPortOperation(int port);
    void endPortOperation(int port);
    // action 1 on, any other value off.
    void startUpdatePort(int port, unsigned char action);
    // A status report for ports firstPort..lastPort; bit p of onBits is port p.
    void updatePortStatus(int firstPort, int lastPort, unsigned long long onBits);

private:
    static bool validPort(int port) { return port >= 0 && port < 64; }
    static uint64_t bit(int port) { return 1ULL << port; }
    // Writes the unsaved ports' kept states; a failed run logs once.
    void storeUnsaved();

    PortDatabase database_;
    std::shared_ptr<PowerModuleContainer> container_;
    uint64_t updateMask_ = 0;    // requested, result not yet stored
    uint64_t wantedMask_ = 0;    // state each marked port was last switched to
    uint64_t keptOnMask_ = 0;    // kept as on (in outlet.db unless unsaved)
    uint64_t busyMask_ = 0;      // relay operation under way
    uint64_t unsavedMask_ = 0;   // kept state not yet in outlet.db
    bool storeFailing_ = false;  // the last write failed: logged already
};
