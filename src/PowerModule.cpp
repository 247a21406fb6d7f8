#include "PowerModule.h"

#include "PacedLine.h"
#include "PduTimer.h"
#include "PowerModulePacketBuilder.h"
#include "SerialPort.h"
#include "muduo/base/LogLimiter.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"

using powermodule::kInletPort;

const double PowerModule::kDataTimeout = 3.0;
const double PowerModule::kMaxLineWait = 1.0;

namespace
{
const int kFrameRoom = 9;  // the longest request
// Tags of the frames asked after while they wait for the line, or reported when they leave.
const int kStatusPollTag = 0;
const int kMeterPollTag = 1;
const int kMarkerTag = 2;
const int kRelayTag = 0x10000;  // | request << kRequestShift | port << 8 | copy | action
const int kRequestShift = 17;
const int kCopy = 0x80;
const int kRelayPortMask = kRelayTag | 0xFF00;

int relayTag(int port, int request)
{
    return kRelayTag | (request & PowerModule::kMaxRequest) << kRequestShift | (port & 0xFF) << 8;
}

uint32_t replyKey(unsigned char cmd, int port = 0, int action = 0)
{
    return PowerModulePacketParser::replyKey(cmd, port, action);
}

int clampOutlets(int count)
{
    if (count < 0)
        return 0;
    return count > PowerModule::kMaxOutlets ? PowerModule::kMaxOutlets : count;
}
}

PowerModule::PowerModule(muduo::net::EventLoop* loop, const char* devName, int index, int outletCount,
                         bool pollInlet, bool pollOutlets)
    : index_(index), outletCount_(clampOutlets(outletCount)), pollInlet_(pollInlet),
      pollOutlets_(pollOutlets && outletCount_ > 0), currentPollPort_(-1),
      serialPort_(std::make_shared<SerialPort>(loop, devName)),
      line_(new PacedLine(loop, serialPort_->fileHandler(), kLineBytesPerSecond, kReplyWait)),
      statusTimer_(std::make_shared<PduTimer>(loop, index)), meterTimer_(std::make_shared<PduTimer>(loop, index)),
      dataTimeoutTimer_(std::make_shared<PduTimer>(loop, index))
{
    serialPort_->configUart(kBaud);
    serialPort_->setDataCallback([this](muduo::net::Buffer* buf, muduo::Timestamp t) { handleRead(buf, t); });
    serialPort_->setWriteCompleteCallback([this](const muduo::net::FileHandlerPtr&) { line_->pump(); });
    line_->setFrameOutCallback([this](int tag, double carriedIn, uint64_t seq) { onFrameOut(tag, carriedIn, seq); });
    statusTimer_->setTimerCallback([this](const std::shared_ptr<PduTimer>&) { queryRelayStatusRequest(); });
    meterTimer_->setTimerCallback([this](const std::shared_ptr<PduTimer>&) { pollStep(); });
    dataTimeoutTimer_->setTimerCallback([this](const std::shared_ptr<PduTimer>&) { onDataTimeout(); });
    LOG_INFO << "start setup power module:" << index_;
}

PowerModule::~PowerModule()
{
    statusTimer_->cancel();
    meterTimer_->cancel();
    dataTimeoutTimer_->cancel();
    serialPort_->setDataCallback(SerialPort::DataCallback());
    serialPort_->setWriteCompleteCallback(SerialPort::WriteCompleteCallback());
}

void PowerModule::startQueryOutputStatus(double interval)
{
    statusTimer_->runEvery(interval);
    statusEvery_ = interval;
    notePollLoad();
}

void PowerModule::stopQueryOutputStatus()
{
    statusTimer_->cancel();
    statusEvery_ = 0;
    notePollLoad();
}

void PowerModule::notePollLoad()
{
    // What a poll's reply takes of the line, each time it comes round.
    auto load = [](unsigned char cmd, double every) {
        return every > 0 ? PowerModulePacketParser::replyLength(cmd) / every : 0;
    };
    line_->setPollLoad(load(powermodule::kOutputStatus, statusEvery_) + load(powermodule::kMeterData, meterEvery_));
}

void PowerModule::startQueryMeterData(double interval)
{
    if (pollInlet_)
        currentPollPort_ = kInletPort;
    else if (pollOutlets_)
        currentPollPort_ = 0;
    else
    {
        meterTimer_->cancel();
        return;
    }
    meterTimer_->cancel();
    meterTimer_->runEvery(interval);
    dataTimeoutTimer_->runAfter(kDataTimeout);
    meterEvery_ = interval;
    notePollLoad();
}

void PowerModule::stopQueryMeterData()
{
    dataTimeoutTimer_->cancel();
    meterTimer_->cancel();
    meterEvery_ = 0;
    notePollLoad();
}

void PowerModule::pollStep()
{
    // The port's turn waits with its query; the line is behind.
    if (line_->holds(kMeterPollTag, ~0))
        return;
    queryDataRequest(currentPollPort_);
    currentPollPort_ = nextPollPort(currentPollPort_);
}

int PowerModule::nextPollPort(int port) const
{
    if (port != kInletPort)
        return port + 1 < outletCount_ ? port + 1 : (pollInlet_ ? kInletPort : 0);
    return pollOutlets_ ? 0 : kInletPort;
}

bool PowerModule::send(const unsigned char* frame, int length, uint32_t key, int tag, bool exact,
                       PacedLine::Turn turn)
{
    if (length <= 1)
        return false;
    // Charged with the module's reply, which comes back at the same pace.
    return line_->send(frame, length, tag, PowerModulePacketParser::replyLength(frame[1]), key, exact, turn);
}

void PowerModule::onFrameOut(int tag, double carriedIn, uint64_t seq)
{
    if (!(tag & kRelayTag))
        return;
    const int port = tag >> 8 & 0xFF;
    if (port < kMaxOutlets)
        lastRelayFrame_[port] = seq;
    if (relayFrameOutCallback_)
        relayFrameOutCallback_(shared_from_this(), port, static_cast<unsigned char>(tag & 0x7F), tag >> kRequestShift,
                               carriedIn);
}

unsigned char PowerModule::heardBefore(uint64_t seq) const
{
    unsigned char bits = 0;
    for (int p = 0; p < outletCount_; ++p)
        if (lastRelayFrame_[p] < seq)
            bits |= static_cast<unsigned char>(1u << p);
    return bits;
}

bool PowerModule::lineHasRoom() const { return line_->behind() < kMaxLineWait; }

double PowerModule::lineBehind() const { return line_->behind(); }

bool PowerModule::relayFrameWaiting(int port) const { return line_->holds(relayTag(port, 0), kRelayPortMask); }

bool PowerModule::relayFrameOut(int port) const { return line_->owes(relayTag(port, 0), kRelayPortMask); }

bool PowerModule::relayReplyComing(int port) const { return line_->replyComing(relayTag(port, 0), kRelayPortMask); }

bool PowerModule::quietSinceRelayFrame(int port) const
{
    return port >= 0 && port < kMaxOutlets && line_->quietSince(lastRelayFrame_[port]);
}

void PowerModule::withdrawRelayCopies(int port) { line_->withdraw(relayTag(port, 0) | kCopy, kRelayPortMask | kCopy); }

bool PowerModule::queryDataRequest(int port)
{
    unsigned char frame[kFrameRoom];
    return send(frame, PowerModulePacketBuilder::buildMeterDataQueryPacket(frame, kFrameRoom, port),
                replyKey(powermodule::kMeterData, port), kMeterPollTag, false, PacedLine::Turn::kPoll);
}

bool PowerModule::controlRelayRequest(int port, unsigned char action, int request, bool copy)
{
    unsigned char frame[kFrameRoom];
    return send(frame, PowerModulePacketBuilder::buildRelayControlPacket(frame, kFrameRoom, port, action),
                replyKey(powermodule::kRelayControl, port, action),
                relayTag(port, request) | (copy ? kCopy : 0) | (action & 0x7F), true);
}

void PowerModule::sendMarker()
{
    // A query no poll asks, and the calibration pages only now and then; its reply is the marker's own.
    const uint32_t key = replyKey(powermodule::kRequestCaliParam);
    if (line_->asks(key))
        return;
    unsigned char frame[kFrameRoom];
    send(frame, PowerModulePacketBuilder::buildRequestCaliParamPacket(frame, kFrameRoom), key, kMarkerTag, false,
         PacedLine::Turn::kMarker);
}

bool PowerModule::queryRelayStatusRequest()
{
    if (line_->holds(kStatusPollTag, ~0))
        return true;  // the one still waiting asks for the same
    unsigned char frame[kFrameRoom];
    return send(frame, PowerModulePacketBuilder::buildOutputStatusQueryPacket(frame, kFrameRoom),
                replyKey(powermodule::kOutputStatus), kStatusPollTag, false, PacedLine::Turn::kPoll);
}

bool PowerModule::requestCaliParam()
{
    unsigned char frame[kFrameRoom];
    return send(frame, PowerModulePacketBuilder::buildRequestCaliParamPacket(frame, kFrameRoom),
                replyKey(powermodule::kRequestCaliParam));
}

bool PowerModule::transferCaliParam(unsigned short caliVoltage, unsigned short caliCurrent, unsigned short caliPower)
{
    unsigned char frame[kFrameRoom];
    return send(frame,
                PowerModulePacketBuilder::buildTransferCaliParamPacket(frame, kFrameRoom, caliVoltage, caliCurrent,
                                                                       caliPower),
                replyKey(powermodule::kTransferCaliParam));
}

bool PowerModule::startCalibrate(int port)
{
    unsigned char frame[kFrameRoom];
    return send(frame, PowerModulePacketBuilder::buildStartCalibrate(frame, kFrameRoom, port),
                replyKey(powermodule::kStartCalibrate, port));
}

void PowerModule::handleRead(muduo::net::Buffer* buf, muduo::Timestamp receiveTime)
{
    Ptr self(shared_from_this());
    parser_.parsePacket(buf->peek(), static_cast<int>(buf->readableBytes()), receiveTime);
    buf->retrieveAll();
    unsigned char cmd = 0;
    while (parser_.hasParsedPacket(cmd))
    {
        dispatch(self, cmd);
        parser_.popParsedPacket();
    }
    if (line_->takeMarker())
        sendMarker();
    // After the callbacks: a request they saw answered withdraws its copies first.
    line_->pump();
}

bool PowerModule::acceptPort(const char* reply, int port, bool inletAllowed) const
{
    if ((port >= 0 && port < outletCount_) || (inletAllowed && port == kInletPort))
        return true;
    LOG_WARN << "power module " << index_ << ": " << reply << " reply for unknown port " << port << " dropped";
    return false;
}

void PowerModule::dispatchMeterData(const Ptr& self)
{
    int port = 0;
    _PowerModuleData data{};
    if (!parser_.getPowerModuleData(&port, &data) || !acceptPort("meter", port, true))
        return;
    // A copy: at -O3 GCC 12 takes &port handed to the parser for a dangling pointer.
    const int reported = port;
    if (meterDataCallback_)
        meterDataCallback_(self, reported, &data);
    dataTimeoutTimer_->cancel();
    dataTimeoutTimer_->runAfter(kDataTimeout);
}

void PowerModule::dispatch(const Ptr& self, unsigned char cmd)
{
    // Every reply keeps the line's ledger: the frames before the one it answers were lost.
    uint32_t key = 0;
    AwaitedReplies::Answer a{-1, -1, 0, false};
    const bool answered = parser_.getReplyKey(&key) && line_->answer(key, &a) && a.tag >= 0;
    if (answered && a.tag == kMarkerTag)
        return;  // the line's own: nothing the unit asked
    // A relay reply can only be taken for a relay frame, whose tag carries its request.
    const int request = answered ? a.tag >> kRequestShift : -1;
    const bool sure = answered && a.certain && (a.earliest >> kRequestShift) == request;
    int port = 0;
    int count = 0;
    unsigned char action = 0, result = 0, onOff = 0, calibrated = 0;
    unsigned short voltage = 0, current = 0, power = 0;
    switch (cmd)
    {
    case powermodule::kMeterData:
        dispatchMeterData(self);
        break;
    case powermodule::kRelayControl:
        if (parser_.getRelayControlRet(&port, &action, &result) && acceptPort("relay", port, false) &&
            relayReplyCallback_)
            relayReplyCallback_(self, port, action, result, request, sure);
        break;
    case powermodule::kOutputStatus:
        if (!parser_.getOutputQueryRet(&count, &onOff, &calibrated))
            break;
        if (!answered)
            dropUnaskedReport();
        else if (outputStatusCallback_)
            outputStatusCallback_(self, count < outletCount_ ? count : outletCount_, onOff, calibrated,
                                  a.certain ? heardBefore(a.seq) : 0);
        break;
    case powermodule::kRequestCaliParam:
        if (parser_.getRequestCaliParamRet(&voltage, &current, &power, &result) && caliParamCallback_)
            caliParamCallback_(self, voltage, current, power, result);
        break;
    case powermodule::kTransferCaliParam:
        if (parser_.getTransferCaliParamRet(&result) && transferCaliParamCallback_)
            transferCaliParamCallback_(self, result);
        break;
    case powermodule::kStartCalibrate:
        if (parser_.getStartCalibrateRet(&port, &result) && acceptPort("calibration", port, true) &&
            startCalibrateCallback_)
            startCalibrateCallback_(self, port, result);
        break;
    default:
        break;
    }
}

void PowerModule::dropUnaskedReport() const
{
    // A second talker, or a firmware repeating an old report: it says nothing of the outlets now.
    static muduo::LogLimiter s_lines;
    int64_t held = 0;
    if (s_lines.allow(&held))
        LOG_WARN << "power module " << index_ << ": a status report no poll asked for, dropped"
                 << muduo::LogLimiter::note(held);
}

void PowerModule::onDataTimeout()
{
    if (dataTimeoutCallback_)
        dataTimeoutCallback_(shared_from_this());
}
