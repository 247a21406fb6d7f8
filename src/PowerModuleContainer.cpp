#include "PowerModuleContainer.h"

#include <algorithm>
#include <iterator>

#include "PduTimer.h"
#include "PowerModule.h"
#include "RelayActionTrigger.h"
#include "SerialPort.h"
#include "muduo/base/LogLimiter.h"
#include "muduo/base/Logging.h"

using powermodule::kInletPort;

const double PowerModuleContainer::kAckTimeout = PowerModule::kReplyWait;
const char* const PowerModuleContainer::s_moduleDevFileNames[] = {"/dev/ttyS10"};

namespace
{
const int kModuleDevCount = sizeof(PowerModuleContainer::s_moduleDevFileNames) / sizeof(const char*);
}

PowerModuleContainer::PowerModuleContainer(muduo::net::EventLoop* loop)
    : restartDelays_(), trigger_(std::make_shared<RelayActionTrigger>(loop)), requests_(), awaiting_(),
      restartOnArmed_(), byLoop_(), offKnown_(), reportedOff_(0), pendingActions_(), retryMask_(0), retryBudgets_()
{
    std::fill(std::begin(wanted_), std::end(wanted_), -1);
    modules_.reserve(1);
    for (int p = 0; p < kPortCount; ++p)
    {
        ackTimers_[p] = std::make_shared<PduTimer>(loop, p);
        ackTimers_[p]->setTimerCallback([this](const std::shared_ptr<PduTimer>& t) { onAckTimeout(t->getId()); });
        restartOnTimers_[p] = std::make_shared<PduTimer>(loop, p);
        restartOnTimers_[p]->setTimerCallback([this](const std::shared_ptr<PduTimer>& t) {
            restartOnArmed_[t->getId()] = false;
            fire(t->getId(), 1, true);
        });
    }
    trigger_->setRelayActionCallback([this](int port, int action) { onRelayActionDelayTimeout(port, action); });
}

PowerModuleContainer::~PowerModuleContainer()
{
    for (auto& timer : ackTimers_)
        timer->cancel();
    for (auto& timer : restartOnTimers_)
        timer->cancel();
    // A module kept alive elsewhere must not call back into a dead container.
    for (auto& module : modules_)
    {
        module->setMeterDataCallback(PowerModule::MeterDataCallback());
        module->setRelayReplyCallback(PowerModule::RelayReplyCallback());
        module->setRelayFrameOutCallback(PowerModule::RelayFrameOutCallback());
        module->setOutputStatusCallback(PowerModule::OutputStatusCallback());
        module->setCaliParamCallback(PowerModule::CaliParamCallback());
        module->setTransferCaliParamCallback(PowerModule::TransferCaliParamCallback());
        module->setStartCalibrateCallback(PowerModule::StartCalibrateCallback());
        module->setDataTimeoutCallback(PowerModule::DataTimeoutCallback());
    }
}

PowerModuleContainer::PowerModulePtr PowerModuleContainer::createPowerModule(muduo::net::EventLoop* loop, int index,
                                                                             bool pollInlet, bool pollOutlets)
{
    if (index < 0 || index >= kModuleDevCount)
    {
        LOG_ERROR << "no serial device for power module " << index;
        return PowerModulePtr();
    }
    return std::make_shared<PowerModule>(loop, s_moduleDevFileNames[index], index, kPortsPerModule, pollInlet,
                                         pollOutlets);
}

void PowerModuleContainer::addPowerModule(const PowerModulePtr& module)
{
    if (!module)
        return;
    const int m = static_cast<int>(modules_.size());
    const int base = m * kPortsPerModule;
    auto global = [base](int port) { return port == kInletPort ? port : base + port; };
    module->setMeterDataCallback([this, global](const PowerModulePtr&, int port, const _PowerModuleData* data) {
        if (meterDataCallback_)
            meterDataCallback_(global(port), data);
    });
    module->setRelayReplyCallback([this, base](const PowerModulePtr&, int port, unsigned char action,
                                               unsigned char result, int request, bool sure) {
        onControlRelayAckCallback(base + port, action, result, request, sure);
    });
    module->setRelayFrameOutCallback(
        [this, base](const PowerModulePtr&, int port, unsigned char action, int request, double carriedIn) {
            onRelayFrameOut(base + port, action, request, carriedIn);
        });
    module->setOutputStatusCallback([this, m](const PowerModulePtr&, int count, unsigned char on, unsigned char cal,
                                              unsigned char fresh) {
        if (m == 0)  // the switchable outlets
            closeLoop(count, on, fresh);
        if (outputStatusCallback_)
            outputStatusCallback_(m, count, on, cal);
    });
    module->setCaliParamCallback([this, m](const PowerModulePtr&, unsigned short v, unsigned short c,
                                           unsigned short p, unsigned char result) {
        if (caliParamCallback_)
            caliParamCallback_(m, v, c, p, result);
    });
    module->setTransferCaliParamCallback([this, m](const PowerModulePtr&, unsigned char result) {
        if (transferCaliParamCallback_)
            transferCaliParamCallback_(m, result);
    });
    module->setStartCalibrateCallback([this, global](const PowerModulePtr&, int port, unsigned char result) {
        if (startCalibrateCallback_)
            startCalibrateCallback_(global(port), result);
    });
    module->setDataTimeoutCallback([this, m](const PowerModulePtr&) {
        if (dataTimeoutCallback_)
            dataTimeoutCallback_(m);
    });
    modules_.push_back(module);
}

void PowerModuleContainer::startRead()
{
    for (auto& module : modules_)
        module->serialPort()->fileHandler()->startRead();
}

void PowerModuleContainer::startQueryAllOutputsStatus(double interval)
{
    for (auto& module : modules_)
        module->startQueryOutputStatus(interval);
}

void PowerModuleContainer::stopQueryAllOutputsStatus()
{
    for (auto& module : modules_)
        module->stopQueryOutputStatus();
}

void PowerModuleContainer::startQueryAllPortsMeterData(double interval)
{
    for (auto& module : modules_)
        module->startQueryMeterData(interval);
}

void PowerModuleContainer::stopQueryAllPortsMeterData()
{
    for (auto& module : modules_)
        module->stopQueryMeterData();
}

bool PowerModuleContainer::requestCaliParam()
{
    for (auto& module : modules_)
        if (!module->requestCaliParam())
            return false;
    return true;
}

bool PowerModuleContainer::transferCaliParam(unsigned short caliVoltage, unsigned short caliCurrent,
                                             unsigned short caliPower)
{
    for (auto& module : modules_)
        if (!module->transferCaliParam(caliVoltage, caliCurrent, caliPower))
            return false;
    return true;
}

bool PowerModuleContainer::startCalibrate(int port)
{
    if (modules_.empty() || (port != kInletPort && (port < 0 || port >= kPortCount)))
        return false;
    return modules_[0]->startCalibrate(port);
}

bool PowerModuleContainer::switchable(const char* operation, int port) const
{
    int outlets = modules_.empty() ? kPortCount : modules_[0]->outletCount();
    if (port >= 0 && port < kPortCount && port < outlets)
        return true;
    LOG_WARN << operation << ": outlet " << port << " is not switchable, refused";
    return false;
}

bool PowerModuleContainer::turnOnPort(int port, bool retry) { return switchNow(port, 1, 0, retry); }

bool PowerModuleContainer::turnOffPort(int port, bool retry) { return switchNow(port, 0, 0, retry); }

bool PowerModuleContainer::restartPort(int port, int restartDelay, bool retry)
{
    return switchNow(port, kRestartFlag, restartDelay, retry);
}

bool PowerModuleContainer::turnOnPortAfter(int port, int delay, bool retry)
{
    return switchLater(port, 1, delay, 0, retry);
}

bool PowerModuleContainer::turnOffPortAfter(int port, int delay, bool retry)
{
    return switchLater(port, 0, delay, 0, retry);
}

bool PowerModuleContainer::restartPortAfter(int port, int delay, int restartDelay, bool retry)
{
    return switchLater(port, kRestartFlag, delay, restartDelay, retry);
}

bool PowerModuleContainer::switchNow(int port, int action, int restartDelay, bool retry)
{
    if (!switchable("switch", port))
        return false;
    takeRequest(port, action, restartDelay);
    if (action & kRestartFlag)
        setRetry(port, retry);
    const bool off = offAlready(port);
    if (!controlRelayRequest(port, static_cast<unsigned char>(action & 0x7F)))
        return false;
    began(port, action, retry ? kRetries : 0, off);
    portOperationStarted(port);
    return true;
}

bool PowerModuleContainer::offAlready(int port) const
{
    // Nothing waiting for the line can switch it on before a restart's off.
    return (reportedOff_ >> port & 1) && !modules_.empty() && !modules_[0]->relayFrameWaiting(port);
}

void PowerModuleContainer::began(int port, int action, int retries, bool offAlready)
{
    pendingActions_[port] = action;
    retryBudgets_[port] = retries;
    wanted_[port] = leadsTo(action);
    offKnown_[port] = offAlready;
}

bool PowerModuleContainer::switchLater(int port, int action, int delay, int restartDelay, bool retry)
{
    if (!trigger_ || !switchable("delayed switch", port) || !roomForDelayed(port))
        return false;
    takeRequest(port, action, restartDelay);
    setRetry(port, retry);
    trigger_->startRelayActionAfter(port, action, delay);
    portOperationStarted(port);
    return true;
}

bool PowerModuleContainer::roomForDelayed(int port) const
{
    // A waiting restart goes with the next request, so it holds no place from it.
    if (!trigger_ || trigger_->pendingActions(port) - trigger_->pendingActions(port, kRestartFlag) < kMaxDelayedPerPort)
        return true;
    static muduo::LogLimiter s_refusals;
    int64_t held = 0;
    if (s_refusals.allow(&held))
        LOG_WARN << "delayed switch of port " << port << " refused: " << kMaxDelayedPerPort << " wait already"
                 << muduo::LogLimiter::note(held);
    return false;
}

bool PowerModuleContainer::roomOnLine() const
{
    if (modules_.empty() || modules_[0]->lineHasRoom())
        return true;
    static muduo::LogLimiter s_refusals;
    int64_t held = 0;
    if (s_refusals.allow(&held))
        LOG_WARN << "switching refused: the power module's line is " << muduo::Fmt("%.1f", modules_[0]->lineBehind())
                 << " s behind" << muduo::LogLimiter::note(held);
    return false;
}

void PowerModuleContainer::takeRequest(int port, int action, int restartDelay)
{
    withdrawRestart(port);
    for (size_t n = trigger_->withdraw(port, kRestartFlag); n > 0; --n)
        portOperationEnded(port);
    if (action & kRestartFlag)
        restartDelays_[port] = restartDelay;
    startOver(port);
}

void PowerModuleContainer::withdrawRestart(int port)
{
    if (restartOnArmed_[port])
    {
        restartOnTimers_[port]->cancel();
        restartOnArmed_[port] = false;
        portOperationEnded(port);
    }
    pendingActions_[port] &= ~kRestartFlag;
}

void PowerModuleContainer::armRestartOn(int port)
{
    pendingActions_[port] &= ~kRestartFlag;
    restartOnArmed_[port] = true;
    restartOnTimers_[port]->cancel();
    restartOnTimers_[port]->runAfter(restartDelays_[port]);
}

void PowerModuleContainer::setRetry(int port, bool retry)
{
    if (retry)
        retryMask_ |= 1u << port;
    else
        retryMask_ &= ~(1u << port);
}

bool PowerModuleContainer::controlRelayRequest(int port, unsigned char action, bool again)
{
    if (port < 0 || port >= kPortCount || modules_.empty())
        return false;
    LOG_INFO << "module no:" << 0 << " module port:" << port << " relay action:" << static_cast<int>(action);
    // A copy keeps its request's number: the reply of either answers it.
    const int before = requests_[port];
    const bool awaiting = awaiting_[port];
    // Before the send: the frame may go out, and its wait begin, within it.
    requests_[port] = again ? before : (before + 1) & PowerModule::kMaxRequest;
    awaiting_[port] = true;
    if (!again)  // the copies waiting for the line ask for what the request replaces
        modules_[0]->withdrawRelayCopies(port);
    if (!modules_[0]->controlRelayRequest(port, action, requests_[port], again))
    {
        requests_[port] = before;
        awaiting_[port] = awaiting;
        return false;
    }
    if (!again)
        byLoop_[port] = false;
    if (awaiting && !again)  // the request it replaces is awaited no more
        portOperationEnded(port);
    if (relayRequestSentCallback_)
        relayRequestSentCallback_(port, action);
    return true;
}

void PowerModuleContainer::onRelayActionDelayTimeout(int port, int action)
{
    if (port < 0 || port >= kPortCount)
        return;
    fire(port, action, false);
}

void PowerModuleContainer::fire(int port, int action, bool restartOn)
{
    if (!restartOn)
    {
        withdrawRestart(port);
        startOver(port);
    }
    const bool off = offAlready(port);
    if (!controlRelayRequest(port, static_cast<unsigned char>(action & 0x7F)))
    {
        portOperationEnded(port);
        return;
    }
    began(port, action, (retryMask_ >> port) & 1u ? kRetries : 0, off);
}

void PowerModuleContainer::portOperationStarted(int port)
{
    if (portOperationStartedCallback_)
        portOperationStartedCallback_(port);
}

void PowerModuleContainer::portOperationEnded(int port)
{
    if (portOperationEndedCallback_)
        portOperationEndedCallback_(port);
}
