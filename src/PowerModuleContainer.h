#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "PowerModuleTypes.h"
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
// acknowledged. An outlet has at most one such switch-on waiting (a new
// restart replaces it), kept apart from the delayed actions. Every later
// switching call for the outlet withdraws its restart whole: the switch-on,
// the off half not yet acknowledged, and a delayed restart not yet begun,
// whose place among the delayed actions comes free. So the outlet ends as
// the last call asked. A plain delayed on or off is never withdrawn.
// The acknowledgement wait of an outlet's frame begins when the line has
// carried it, and goes on while the module keeps answering without showing
// the frame lost: its reply comes behind the others'. Only a reply that the
// line's ledger (AwaitedReplies) reports for the outlet's newest request
// ends the wait, never one that may answer an older frame of the outlet with
// another action between: so a lost frame is sent again, as a copy of its
// request.
// An outlet's copies still waiting for the line are withdrawn when their
// request is answered or a newer one comes. After a request ends, a late
// reply only tells the outlet's state. A reply that answers no frame out ends
// the wait of a request only while none of the outlet's frames is out or
// waits for the line.
// Replies never say which frame they answer, so the ledger guesses; the
// module's status report closes the loop. Where a report of a poll the module
// heard after the outlet's last frame shows it otherwise than its last
// switching leads to (on; off; a restart: on), and nothing of it is under way
// (a request awaiting its reply, a frame waiting for the line, a delayed
// action, a restart's switch-on), it is switched again, without retries, at
// most once a report: a restart whose off got there goes on to its
// switch-on, one whose off did not starts again. An outlet not switched since
// start-up is the outlet-state manager's. Loop thread only.
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

    void onRelayActionDelayTimeout(int port, int action);
    // request: the module's report of the request answered, -1 for none out.
    void onControlRelayAckCallback(int port, unsigned char action, unsigned char result, int request);
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
    void armRestartOn(int port);
    // A request awaiting its reply, a frame waiting for the line, a delayed
    // action or a restart's switch-on.
    bool underWay(int port) const;
    // What a switching action leads to: 1 on (a restart too), 0 off.
    static int leadsTo(int action) { return action & kRestartFlag ? 1 : action & 0x7F; }
    void closeLoop(int outlets, unsigned char onBits, unsigned char freshBits);
    // Sends the outlet's last switching again, without retries.
    void switchAgain(int port, int action);
    void setRetry(int port, bool retry);
    // Sends a delayed or restart action now.
    void fire(int port, int action);
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
