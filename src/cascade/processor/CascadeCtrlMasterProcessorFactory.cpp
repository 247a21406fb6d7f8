#include "cascade/processor/CascadeCtrlMasterProcessorFactory.h"

#include "GlobalData.h"
#include "PduServer.h"
#include "PduTimer.h"
#include "cascade/processor/CascadeCtrlLocalQueryDeviceInfoExtRelay.h"
#include "cascade/processor/CascadeCtrlLocalQueryDeviceInfoRelay.h"
#include "cascade/processor/CascadeCtrlLocalQueryDeviceStatusExtRelay.h"
#include "cascade/processor/CascadeCtrlLocalQueryDeviceStatusRelay.h"
#include "cascade/processor/CascadeCtrlProcessor.h"
#include "cascade/processor/CascadeCtrlRetParsers.h"
#include "cascade/processor/CascadeCtrlSlaveRecords.h"
#include "muduo/base/Logging.h"

namespace CascadeCtrl
{
namespace
{
typedef std::shared_ptr<CascadeCtrlDataParser> (*MakeParser)();

template <class Parser>
std::shared_ptr<CascadeCtrlDataParser> make()
{
    return std::make_shared<Parser>();
}

typedef CascadeCtrlCommand C;
const struct
{
    int code;
    MakeParser make;
} kParsers[] = {
    {C::kQueryDeviceInfo, make<CascadeCtrlQueryDeviceInfoRetParser>},
    {C::kOperatePort, make<CascadeCtrlOperatePortRetParser>},
    {C::kQueryName, make<CascadeCtrlQueryNameRetParser>},
    {C::kSetName, make<CascadeCtrlSetNameRetParser>},
    {C::kQueryNetwork, make<CascadeCtrlQueryNetworkRetParser>},
    {C::kSetNetwork, make<CascadeCtrlSetNetworkRetParser>},
    {C::kQueryDeviceStatus, make<CascadeCtrlQueryDeviceStatusRetParser>},
    {C::kQueryOutputThreshold, make<CascadeCtrlQueryOutputThresholdRetParser>},
    {C::kSetOutputThreshold, make<CascadeCtrlSetOutputThresholdRetParser>},
    {C::kQueryInputThreshold, make<CascadeCtrlQueryInputThresholdRetParser>},
    {C::kSetInputThreshold, make<CascadeCtrlSetInputThresholdRetParser>},
    {C::kQueryTempHumThreshold, make<CascadeCtrlQueryTempHumThresholdRetParser>},
    {C::kSetTempHumThreshold, make<CascadeCtrlSetTempHumThresholdRetParser>},
    {C::kQueryPortDelay, make<CascadeCtrlQueryPortDelayRetParser>},
    {C::kSetPortDelay, make<CascadeCtrlSetPortDelayRetParser>},
    {C::kQueryScheduledTask, make<CascadeCtrlQueryScheduledTaskRetParser>},
    {C::kAddScheduledTask, make<CascadeCtrlAddScheduledTaskRetParser>},
    {C::kUpdateScheduledTask, make<CascadeCtrlUpdateScheduledTaskRetParser>},
    {C::kDeleteScheduledTask, make<CascadeCtrlDeleteScheduledTaskRetParser>},
    {C::kQueryTime, make<CascadeCtrlQueryTimeRetParser>},
    {C::kSetTime, make<CascadeCtrlSetTimeRetParser>},
    {C::kClearEnergy, make<CascadeCtrlClearEnergyRetParser>},
    {C::kReboot, make<CascadeCtrlRebootRetParser>},
    {C::kQueryLog, make<CascadeCtrlQueryLogRetParser>},
    {C::kQueryEnergy, make<CascadeCtrlQueryEnergyRetParser>},
    {C::kSetNewAddr, make<CascadeCtrlSetNewAddrRetParser>},
    {C::kSetPing, make<CascadeCtrlSetPingRetParser>},
    {C::kTestPing, make<CascadeCtrlTestPingRetParser>},
    {C::kTestPingStatus, make<CascadeCtrlTestPingStatusRetParser>},
    {C::kQueryPing, make<CascadeCtrlQueryPingRetParser>},
    {C::kQueryDeviceInfoExt, make<CascadeCtrlQueryDeviceInfoExtRetParser>},
    {C::kOperatePortExt, make<CascadeCtrlOperatePortExtRetParser>},
    {C::kQueryNameExt, make<CascadeCtrlQueryNameExtRetParser>},
    {C::kSetNameExt, make<CascadeCtrlSetNameExtRetParser>},
    {C::kQueryDeviceStatusExt, make<CascadeCtrlQueryDeviceStatusExtRetParser>},
    {C::kSetOutputThresholdExt, make<CascadeCtrlSetOutputThresholdExtRetParser>},
    {C::kSetPortDelayExt, make<CascadeCtrlSetPortDelayExtRetParser>},
    {C::kQueryScheduledTaskExt, make<CascadeCtrlQueryScheduledTaskExtRetParser>},
    {C::kAddScheduledTaskExt, make<CascadeCtrlAddScheduledTaskExtRetParser>},
    {C::kUpdateScheduledTaskExt, make<CascadeCtrlUpdateScheduledTaskExtRetParser>},
    {C::kQueryEnergyExt, make<CascadeCtrlQueryEnergyExtRetParser>},
    {C::kSetPingExt, make<CascadeCtrlSetPingExtRetParser>},
    {C::kQueryPingExt, make<CascadeCtrlQueryPingExtRetParser>},
};

const int kWideSlave = 31;  // more outlets than a 32-bit mask names

bool wide(const _SlaveDevice* slave) { return slave && slave->portCount > kWideSlave; }
}

CascadeCtrlMasterProcessorFactory::CascadeCtrlMasterProcessorFactory(muduo::net::EventLoop* loop, PduServer* server)
    : CascadeCtrlMasterProcessorFactory(loop, server->getCascadeSerialPort())
{
}

CascadeCtrlMasterProcessorFactory::CascadeCtrlMasterProcessorFactory(muduo::net::EventLoop* loop,
                                                                     const std::shared_ptr<SerialPort>& line)
    : CascadeCtrlProcessorFactory(loop, line),
      pollTimer_(std::make_shared<PduTimer>(loop, 0)),
      state_(kInfoDue),
      pollIndex_(-1),
      duePoll_(kInfoDue),
      infoPoll_(std::make_shared<CascadeCtrlLocalQueryDeviceInfoRelay>()),
      infoExtPoll_(std::make_shared<CascadeCtrlLocalQueryDeviceInfoExtRelay>()),
      statusPoll_(std::make_shared<CascadeCtrlLocalQueryDeviceStatusRelay>()),
      statusExtPoll_(std::make_shared<CascadeCtrlLocalQueryDeviceStatusExtRelay>()),
      timeout_(0)
{
    pollTimer_->setTimerCallback([this](const std::shared_ptr<PduTimer>&) { onTimeout(); });
    addAnswerParsers(parsers_);
    infoPoll_->setSerialPort(serialPort());
    infoExtPoll_->setSerialPort(serialPort());
    statusPoll_->setSerialPort(serialPort());
    statusExtPoll_->setSerialPort(serialPort());
    // Every part of the status, every outlet.
    statusPoll_->request.parts = 0xFF;
    statusPoll_->request.mask = ~uint32_t(0);
    statusExtPoll_->request.parts = 0xFF;
    statusExtPoll_->request.mask = ~uint64_t(0);
}

void CascadeCtrlMasterProcessorFactory::addAnswerParsers(CascadeCtrlDataParserTable& table)
{
    for (const auto& row : kParsers)
        table.add(row.code, row.make());
}

CascadeCtrlMasterProcessorFactory::~CascadeCtrlMasterProcessorFactory() { pollTimer_->cancel(); }

void CascadeCtrlMasterProcessorFactory::start()
{
    slaves_.clear();
    for (auto& entry : GlobalData::getDevice().slaves)
    {
        slaves_.push_back(entry.first);
        entry.second.pollIndex = static_cast<int>(slaves_.size());
    }
    if (slaves_.empty())
        return;
    pollIndex_ = 0;
    setAddress(slaves_.front());
    LOG_INFO << "addr:" << address();
    schedule(kInfoPause, kInfoDue);
    next();
}

void CascadeCtrlMasterProcessorFactory::stop()
{
    pollTimer_->cancel();
    slaves_.clear();
    current_.reset();
    queue_.clear();
    state_ = kInfoDue;
}

void CascadeCtrlMasterProcessorFactory::addCascadeCtrlRelay(const std::shared_ptr<CascadeCtrlRelay>& relay)
{
    if (!relay)
        return;
    // A poll due but not yet sent goes first.
    const bool queueing = !queue_.empty() || waiting() || pollDue(muduo::Timestamp::now(true));
    if (const char* why = queue_.refusal(relay->targetAddress(), queueing))
    {
        // A silent slave's refusals are logged once per silence: a client
        // asking a unit switched off would write a line for each request.
        if (queue_.refused(relay->targetAddress()))
            LOG_WARN << why << ": request for addr:" << relay->targetAddress() << " dropped";
        return;
    }
    if (queueing)
    {
        queue_.push(relay);
        LOG_INFO << "push to queue";
        return;
    }
    send(relay, kRelayTimeout, kRelayAwaited);
    LOG_INFO << "transfer request to remote";
}

void CascadeCtrlMasterProcessorFactory::process(std::shared_ptr<CascadeCtrlProcessor>& processor, int sequence)
{
    if (!waiting())
        return;  // a late answer: its request has ended
    pollTimer_->cancel();
    const State ended = state_;
    if (!current_ || sequence != current_->sequence())
    {
        current_.reset();
        LOG_WARN << "seq mismatch";
    }
    else
    {
        size_t refused = 0;
        if (queue_.answered(address(), refused))
            LOG_WARN << "addr:" << address() << " answers again; requests refused meanwhile: " << refused;
        processor->process(current_);
        current_.reset();
    }
    if (ended == kInfoAwaited && wide(polledSlave()))
        schedule(kPollPause, kInfoExtDue);
    else if (ended != kRelayAwaited)
        advance(false);
    next("get relay from queue");
}

void CascadeCtrlMasterProcessorFactory::onTimeout()
{
    if (waiting())
    {
        if (!extendWait())
            timeOut();
    }
    else
    {
        sendDuePoll();
    }
}

void CascadeCtrlMasterProcessorFactory::onFrameProgress(int address)
{
    if (waiting() && address == this->address())
        lastProgress_ = muduo::Timestamp::now(true);
}

int CascadeCtrlMasterProcessorFactory::polledAddress() const
{
    if (pollIndex_ < 0 || pollIndex_ >= static_cast<int>(slaves_.size()))
        return -1;
    return slaves_[static_cast<size_t>(pollIndex_)];
}

const _SlaveDevice* CascadeCtrlMasterProcessorFactory::polledSlave() const
{
    const int address = polledAddress();
    return address < 0 ? nullptr : CascadeCtrlSlaveRecords::find(address);
}

void CascadeCtrlMasterProcessorFactory::arm(double seconds, State next)
{
    // One timer: whatever it was armed for before no longer counts.
    pollTimer_->cancel();
    pollTimer_->runAfter(seconds);
    state_ = next;
}

void CascadeCtrlMasterProcessorFactory::send(const std::shared_ptr<CascadeCtrlRelay>& relay, double timeout,
                                             State next)
{
    current_ = relay;
    setAddress(relay->targetAddress());
    relay->transferRemote();
    sentAt_ = lastProgress_ = muduo::Timestamp::now(true);
    timeout_ = timeout;
    arm(timeout, next);
}

void CascadeCtrlMasterProcessorFactory::sendPoll(const std::shared_ptr<CascadeCtrlRelay>& poll, State next)
{
    poll->setTargetAddress(polledAddress());
    send(poll, kPollTimeout, next);
}

void CascadeCtrlMasterProcessorFactory::sendDuePoll()
{
    if (polledAddress() < 0)
        return;
    const _SlaveDevice* slave = polledSlave();
    // A relay's time-out may have found the slave silent since its status
    // poll was scheduled: it is asked who it is instead.
    const State poll = duePoll_ == kStatusDue && !(slave && slave->valid) ? kInfoDue : duePoll_;
    if (poll == kStatusDue && wide(slave))
        return sendPoll(statusExtPoll_, kStatusAwaited);
    if (poll == kStatusDue)
        return sendPoll(statusPoll_, kStatusAwaited);
    LOG_INFO << (poll == kInfoDue ? "ready query info:" : "ready query info ext:") << "index:" << pollIndex_
             << " addr:" << polledAddress();
    if (poll == kInfoDue)
        sendPoll(infoPoll_, kInfoAwaited);
    else
        sendPoll(infoExtPoll_, kInfoExtAwaited);
}

bool CascadeCtrlMasterProcessorFactory::serveQueue()
{
    while (!queue_.empty())
    {
        std::shared_ptr<CascadeCtrlRelay> relay = queue_.pop();
        const _SlaveDevice* slave = CascadeCtrlSlaveRecords::find(relay->targetAddress());
        if (!slave || !slave->valid)
        {
            LOG_INFO << "queued request for addr:" << relay->targetAddress() << " dropped: no valid slave";
            continue;
        }
        send(relay, kRelayTimeout, kRelayAwaited);
        return true;
    }
    return false;
}

void CascadeCtrlMasterProcessorFactory::schedule(double pause, State poll)
{
    duePoll_ = poll;
    dueAt_ = muduo::addTime(muduo::Timestamp::now(true), pause);
}

bool CascadeCtrlMasterProcessorFactory::pollDue(muduo::Timestamp now) const
{
    return !slaves_.empty() && muduo::timeDifference(dueAt_, now) <= 0.001;
}

void CascadeCtrlMasterProcessorFactory::next(const char* relayLine)
{
    const muduo::Timestamp now = muduo::Timestamp::now(true);
    if (pollDue(now))
    {
        sendDuePoll();
        return;
    }
    if (serveQueue())
    {
        LOG_INFO << relayLine;
        return;
    }
    if (slaves_.empty())
    {
        // Only relays use the line: it rests until the next one.
        pollTimer_->cancel();
        state_ = kInfoDue;
        return;
    }
    arm(muduo::timeDifference(dueAt_, now), duePoll_);
}

void CascadeCtrlMasterProcessorFactory::advance(bool logging)
{
    if (slaves_.empty())
        return;
    pollIndex_ = (pollIndex_ + 1) % static_cast<int>(slaves_.size());
    const _SlaveDevice* slave = polledSlave();
    if (slave && slave->valid)
    {
        if (logging)
            LOG_INFO << "ready to query status";
        schedule(kPollPause, kStatusDue);
    }
    else
    {
        if (logging)
            LOG_INFO << "ready to query info";
        schedule(kInfoPause, kInfoDue);
    }
}

bool CascadeCtrlMasterProcessorFactory::extendWait()
{
    const muduo::Timestamp now = muduo::Timestamp::now(true);
    const muduo::Timestamp cap = muduo::addTime(sentAt_, kMaxAnswerSeconds);
    muduo::Timestamp quietEnd = muduo::addTime(lastProgress_, timeout_);
    if (cap < quietEnd)
        quietEnd = cap;
    const double left = muduo::timeDifference(quietEnd, now);
    if (left <= 0.001)
        return false;
    arm(left, state_);
    return true;
}

void CascadeCtrlMasterProcessorFactory::timeOut()
{
    const State ended = state_;
    size_t dropped = 0;
    // Once per silence: a unit switched off is an ordinary state of a rack,
    // and its every poll would write a line to the flash.
    if (queue_.missed(address(), dropped))
        LOG_WARN << "addr:" << address() << " timeout";
    CascadeCtrlSlaveRecords::markInvalid(address());
    if (dropped)
        LOG_INFO << dropped << " queued requests for addr:" << address() << " dropped";
    current_.reset();
    if (ended != kRelayAwaited)
        advance(true);
    next();
}
}
