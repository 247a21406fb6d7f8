#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "PowerModuleTypes.h"
#include "ShownOutlets.h"
#include "SwitchAgainBackoff.h"
#include "muduo/base/Timestamp.h"
#include "muduo/base/noncopyable.h"

namespace muduo
{
namespace net
{
class EventLoop;
}
}
class PduTimer;
class PowerModule;
class RelayActionTrigger;

// The one entry point for switching and metering outlets. Global ports:
// outlet p of module m is m x 8 + p, 255 the inlet. Switching and
// calibration address the first module, so only ports 0 to 7 switch. Every
// switching call is an operation of its port, from port-operation-started to
// port-operation-ended, which comes once: acknowledged, failed after the
// retries, or replaced (a newer request's frame goes, its restart is
// withdrawn).
//
// A restart switches off, then on again its restart delay after the off is
// known carried out: by a reply that answers a frame of the restart's own
// (the ledger, AwaitedReplies, tells one that may answer an earlier off of
// the outlet), by a report of a poll the module heard after the off showing
// the outlet off, or because such a report showed it off before the restart
// and nothing since could have switched it on. Until then the off goes
// again; a restart whose off is never carried out ends failed, never done.
// An outlet has at most one switch-on waiting (a new restart replaces it),
// kept apart from the delayed actions. Every later switching of the outlet
// (a call, or a delayed action due) withdraws its restart whole: the
// switch-on, the off half not yet acknowledged, and, for a call, a delayed
// restart not yet begun, whose place among the delayed actions comes free.
// So the outlet ends as the last switching asked. A plain delayed on or off
// is never withdrawn.
//
// An outlet's frame waits for its acknowledgement from when the line has
// carried it, and on while the module keeps answering without showing it
// lost. Only a reply the ledger reports for the outlet's newest request ends
// the wait, never one that may answer an older frame of the outlet with
// another action between, nor one that answers no frame out (nobody asked
// for it): so a lost frame is sent again, as a copy of its request. A module
// quiet since before what went after the frame gets no copy; its tries
// count all the same. Copies still waiting for the line are withdrawn when
// the request is answered or a newer one comes; after a request ends, a late
// reply ends nothing.
//
// Replies never say which frame they answer; the module's status report
// closes the loop. Where a report of a poll the module heard after the
// outlet's last frame shows it otherwise than its last switching leads to
// (on; off; a restart: on once its off is carried out) and nothing of it is
// under way (a request awaiting its reply, a frame waiting for the line, a
// delayed action, a restart's switch-on), it is switched again, without
// retries, less and less often while it does not follow (SwitchAgainBackoff),
// until a new command of it, or until it has stayed as asked for the longest
// wait: a load that trips a while after each on is not switched on at once.
// A report of fewer outlets says nothing of the others.
// An outlet not switched since start-up is the outlet-state manager's.
// What the unit shows of an outlet is the module's report (of a poll: the
// module drops one no poll asked for), or its last command's acknowledgement
// until a report after it (ShownOutlets); the loop's own frames show nothing.
// Loop thread only.
class PowerModuleContainer : muduo::noncopyable
{
public:
    typedef std::shared_ptr<PowerModule> PowerModulePtr;
    typedef std::function<void(int port, const _PowerModuleData* data)> MeterDataCallback;
    typedef std::function<void(int port, unsigned char action)> RelayRequestSentCallback;
    typedef std::function<void(int port, unsigned char action, unsigned char result)> RelayReplyCallback;
    typedef std::function<void(int port, unsigned char action)> RelayFailedCallback;
    typedef std::function<void(int module, int outletCount, unsigned char onOffBits, unsigned char calibratedBits)>
        OutputStatusCallback;
    typedef std::function<void(int module, unsigned short caliVoltage, unsigned short caliCurrent,
                               unsigned short caliPower, unsigned char result)>
        CaliParamCallback;
    typedef std::function<void(int module, unsigned char result)> TransferCaliParamCallback;
    typedef std::function<void(int port, unsigned char result)> StartCalibrateCallback;
    typedef std::function<void(int module)> DataTimeoutCallback;
    typedef std::function<void(int port)> PortOperationCallback;

    static constexpr int kPortCount = 8;
    static constexpr int kPortsPerModule = 8;
    static constexpr int kRetries = 3;
    static constexpr int kRestartFlag = 0x80;
    // Delayed actions of one outlet waiting at once: each is a timer, and a
    // client can ask again and again within a long delay.
    static constexpr size_t kMaxDelayedPerPort = 8;
    static const double kAckTimeout;
    static const char* const s_moduleDevFileNames[];

    explicit PowerModuleContainer(muduo::net::EventLoop* loop);
    virtual ~PowerModuleContainer();

    PowerModulePtr createPowerModule(muduo::net::EventLoop* loop, int index, bool pollInlet, bool pollOutlets);
    void addPowerModule(const PowerModulePtr& module);
    void startRead();
    void startQueryAllOutputsStatus(double interval);
    void stopQueryAllOutputsStatus();
    void startQueryAllPortsMeterData(double interval);
    void stopQueryAllPortsMeterData();

    bool requestCaliParam();
    bool transferCaliParam(unsigned short caliVoltage, unsigned short caliCurrent, unsigned short caliPower);
    bool startCalibrate(int port);

    bool turnOnPort(int port, bool retry);
    bool turnOffPort(int port, bool retry);
    bool restartPort(int port, int restartDelay, bool retry);
    bool turnOnPortAfter(int port, int delay, bool retry);
    bool turnOffPortAfter(int port, int delay, bool retry);
    bool restartPortAfter(int port, int delay, int restartDelay, bool retry);
    // again: a copy of the outlet's newest request, its wait run out.
    bool controlRelayRequest(int port, unsigned char action, bool again = false);
    // True when one more delayed action of the port may wait; else false,
    // with a line (at a bounded rate).
    bool roomForDelayed(int port) const;
    // True when the module's line has room for a request that switches at
    // once (PowerModule::kMaxLineWait); else false, with a line (at a
    // bounded rate). The line is slower than a peer can ask: what waits for
    // it is memory, and delay for every frame behind it.
    bool roomOnLine() const;

    // What every interface shows of the outlet: 1 on, 0 off, -1 not known yet.
    int shownState(int port) const;
    // A module's report as shown.
    unsigned char shownBits(int module, unsigned char onBits) const;
    // True while the loop keeps an outlet that did not follow, switching it
    // less and less often: no one else switches it behind the loop's back.
    bool loopHolds(int port) const;

    void onRelayActionDelayTimeout(int port, int action);
    // request: the module's report of the request answered, -1 for none out;
    // sure: the reply answers a frame of that request, not perhaps an earlier one's.
    void onControlRelayAckCallback(int port, unsigned char action, unsigned char result, int request,
                                   bool sure = true);
    void onRelayFrameOut(int port, unsigned char action, int request, double carriedIn);

    void setMeterDataCallback(MeterDataCallback cb) { meterDataCallback_ = std::move(cb); }
    void setRelayRequestSentCallback(RelayRequestSentCallback cb) { relayRequestSentCallback_ = std::move(cb); }
    void setRelayReplyCallback(RelayReplyCallback cb) { relayReplyCallback_ = std::move(cb); }
    void setRelayFailedCallback(RelayFailedCallback cb) { relayFailedCallback_ = std::move(cb); }
    void setOutputStatusCallback(OutputStatusCallback cb) { outputStatusCallback_ = std::move(cb); }
    void setCaliParamCallback(CaliParamCallback cb) { caliParamCallback_ = std::move(cb); }
    void setTransferCaliParamCallback(TransferCaliParamCallback cb) { transferCaliParamCallback_ = std::move(cb); }
    void setStartCalibrateCallback(StartCalibrateCallback cb) { startCalibrateCallback_ = std::move(cb); }
    void setDataTimeoutCallback(DataTimeoutCallback cb) { dataTimeoutCallback_ = std::move(cb); }
    void setPortOperationStartedCallback(PortOperationCallback cb) { portOperationStartedCallback_ = std::move(cb); }
    void setPortOperationEndedCallback(PortOperationCallback cb) { portOperationEndedCallback_ = std::move(cb); }

    const std::vector<PowerModulePtr>& modules() const { return modules_; }

private:
    // A switchable outlet: on the first module and inside the per-port tables.
    bool switchable(const char* operation, int port) const;
    bool switchNow(int port, int action, int restartDelay, bool retry);
    bool switchLater(int port, int action, int delay, int restartDelay, bool retry);
    // A new switching request of the port: withdraws its restart, which ends.
    void takeRequest(int port, int action, int restartDelay);
    // Withdraws the restart under way: its switch-on, and its off half,
    // which goes on as a plain off.
    void withdrawRestart(int port);
    // The restart's off is known carried out: its switch-on waits its delay.
    void armRestartOn(int port);
    // A report of a poll the module heard after the port's last frame found
    // it off, no on frame of it went since, and none waits for the line.
    bool offAlready(int port) const;
    // A switching action's frame went: the port's request from now on.
    void began(int port, int action, int retries, bool offAlready);
    // The wait of the newest request ends: its copies go.
    void endWait(int port);
    // A request awaiting its reply, a frame waiting for the line, a delayed
    // action or a restart's switch-on.
    bool underWay(int port) const;
    // What a switching action leads to: 1 on (a restart too), 0 off.
    static int leadsTo(int action) { return action & kRestartFlag ? 1 : action & 0x7F; }
    void closeLoop(int outlets, unsigned char onBits, unsigned char freshBits);
    // The loop for one outlet a fresh report found on or off.
    void followUp(int port, bool on, muduo::Timestamp now);
    // Sends the outlet's last switching again, without retries.
    void switchAgain(int port, int action);
    // A report found the outlet as its last switching asks: the loop starts
    // over once it has stayed so for a while (SwitchAgainBackoff).
    void followed(int port, muduo::Timestamp now);
    // A new command of the outlet: the loop starts over.
    void startOver(int port);
    void setRetry(int port, bool retry);
    // Sends a delayed action, or a restart's switch-on, now.
    void fire(int port, int action, bool restartOn);
    void onAckTimeout(int port);
    void portOperationStarted(int port);
    void portOperationEnded(int port);

    std::vector<PowerModulePtr> modules_;
    int restartDelays_[kPortCount];
    std::shared_ptr<RelayActionTrigger> trigger_;
    MeterDataCallback meterDataCallback_;
    RelayRequestSentCallback relayRequestSentCallback_;
    RelayReplyCallback relayReplyCallback_;
    RelayFailedCallback relayFailedCallback_;
    std::shared_ptr<PduTimer> ackTimers_[kPortCount];
    int requests_[kPortCount];  // the number of each outlet's newest request
    bool awaiting_[kPortCount];  // its reply
    std::shared_ptr<PduTimer> restartOnTimers_[kPortCount];
    bool restartOnArmed_[kPortCount];
    int wanted_[kPortCount];  // what its last switching leads to: 1 on, 0 off, -1 none yet
    bool byLoop_[kPortCount];  // its newest request is the loop's
    bool offKnown_[kPortCount];  // a restart's off half, the outlet off already
    unsigned char reportedOff_;  // see offAlready
    ShownOutlets shown_;
    SwitchAgainBackoff backoff_;
    int pendingActions_[kPortCount];
    uint32_t retryMask_;
    int retryBudgets_[kPortCount];
    OutputStatusCallback outputStatusCallback_;
    CaliParamCallback caliParamCallback_;
    TransferCaliParamCallback transferCaliParamCallback_;
    StartCalibrateCallback startCalibrateCallback_;
    DataTimeoutCallback dataTimeoutCallback_;
    PortOperationCallback portOperationStartedCallback_;
    PortOperationCallback portOperationEndedCallback_;
};
