#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "PacedLine.h"
#include "PowerModulePacketParser.h"
#include "PowerModuleTypes.h"
#include "muduo/base/Timestamp.h"
#include "muduo/base/noncopyable.h"

namespace muduo
{
namespace net
{
class Buffer;
class EventLoop;
}
}
class PduTimer;
class SerialPort;

// The unit's side of one serial power-metering/relay module: polls meter
// readings and relay states, sends relay and calibration requests and turns
// its replies into callbacks. Ports are the module's own: outlets 0 to
// outletCount - 1, 255 the inlet. Requests go out at the line's pace, each
// taking the line time of the longer of itself and its reply, no faster than
// the replies come (PacedLine); the polls go ahead of the requests waiting,
// so readings keep their rhythm. The line's ledger tells which frame each
// reply answers: the module answers every frame it hears, in order, so a
// reply is taken for the oldest frame out asking the same (AwaitedReplies).
// A relay reply reports its outlet's request, and whether it surely answers
// a frame of that request rather than one of an earlier request asking the
// same. Back from a quiet spell, the module gets a marker first in line, a
// calibration-parameter query no frame out asks: its reply drops what it
// never heard and goes no further. A status report says which outlets' last
// relay frames the module had heard when it reported; one that answers no
// poll out tells nothing of now, and is dropped. A poll is not asked
// again while the last one of its kind still waits, so a line that takes
// nothing holds at most one of each. Loop thread only; always held by a
// shared_ptr.
class PowerModule : muduo::noncopyable, public std::enable_shared_from_this<PowerModule>
{
public:
    typedef std::shared_ptr<PowerModule> Ptr;
    typedef std::function<void(const Ptr&, int port, const _PowerModuleData* data)> MeterDataCallback;
    // request: the caller's number of the request the reply ends, or -1
    // when it answers no frame out (the ledger's report); sure: it answers a
    // frame of that request, not perhaps one of an earlier request asking the same.
    typedef std::function<void(const Ptr&, int port, unsigned char action, unsigned char result, int request,
                               bool sure)>
        RelayReplyCallback;
    // A relay frame of the caller's request went to the line; it will have
    // been carried carriedIn seconds from now.
    typedef std::function<void(const Ptr&, int port, unsigned char action, int request, double carriedIn)>
        RelayFrameOutCallback;
    // freshBits: bit p set when the report answers a poll the line carried
    // after outlet p's last relay frame, so the module had heard that frame
    // (or lost it) when it reported.
    typedef std::function<void(const Ptr&, int outletCount, unsigned char onOffBits, unsigned char calibratedBits,
                               unsigned char freshBits)>
        OutputStatusCallback;
    typedef std::function<void(const Ptr&, unsigned short caliVoltage, unsigned short caliCurrent,
                               unsigned short caliPower, unsigned char result)>
        CaliParamCallback;
    typedef std::function<void(const Ptr&, unsigned char result)> TransferCaliParamCallback;
    typedef std::function<void(const Ptr&, int port, unsigned char result)> StartCalibrateCallback;
    typedef std::function<void(const Ptr&)> DataTimeoutCallback;

    static constexpr int kMaxOutlets = 8;
    static const double kDataTimeout;
    static constexpr int kBaud = 19200;
    // 8N1: a start bit, 8 data bits and a stop bit for each byte.
    static constexpr int kLineBytesPerSecond = kBaud / 10;
    // Seconds of line that may wait before a request that would switch at
    // once finds no room: so the unit's own frames (delayed actions, the
    // cut-off) and every accepted command go out within about this, at the
    // pace the line has gone lately (PacedLine::behind).
    static const double kMaxLineWait;
    // Seconds after its frame was carried by which the module's reply is due.
    static constexpr double kReplyWait = 0.2;
    // The caller's numbers of relay requests: 0 to kMaxRequest.
    static constexpr int kMaxRequest = 0x3FFF;

    // devName is the unit's device path; it is opened below the board root.
    PowerModule(muduo::net::EventLoop* loop, const char* devName, int index, int outletCount, bool pollInlet,
                bool pollOutlets);
    virtual ~PowerModule();

    void startQueryOutputStatus(double interval);
    void stopQueryOutputStatus();
    void startQueryMeterData(double interval);
    void stopQueryMeterData();

    bool queryDataRequest(int port);
    // request: the caller's number for it, reported with its frame and its
    // reply; copy: a frame sent again, withdrawn by withdrawRelayCopies.
    bool controlRelayRequest(int port, unsigned char action, int request, bool copy);
    bool queryRelayStatusRequest();
    bool requestCaliParam();
    bool transferCaliParam(unsigned short caliVoltage, unsigned short caliCurrent, unsigned short caliPower);
    bool startCalibrate(int port);
    // True while less than kMaxLineWait of the line waits (replies included).
    bool lineHasRoom() const;
    // True while a relay frame for port waits for its turn on the line.
    bool relayFrameWaiting(int port) const;
    // True while a relay frame for port is out and its reply may still come.
    bool relayFrameOut(int port) const;
    // True while the module is answering and still owes port's newest relay
    // frame out: its reply may come behind the others'.
    bool relayReplyComing(int port) const;
    // True while the module is quiet and a frame that went after port's last
    // relay frame is out unanswered too.
    bool quietSinceRelayFrame(int port) const;
    // Withdraws port's copies still waiting for the line.
    void withdrawRelayCopies(int port);
    // Seconds until the line will have carried what it was given.
    double lineBehind() const;

    void handleRead(muduo::net::Buffer* buf, muduo::Timestamp receiveTime);
    void onDataTimeout();

    void setMeterDataCallback(MeterDataCallback cb) { meterDataCallback_ = std::move(cb); }
    void setRelayReplyCallback(RelayReplyCallback cb) { relayReplyCallback_ = std::move(cb); }
    void setRelayFrameOutCallback(RelayFrameOutCallback cb) { relayFrameOutCallback_ = std::move(cb); }
    void setOutputStatusCallback(OutputStatusCallback cb) { outputStatusCallback_ = std::move(cb); }
    void setCaliParamCallback(CaliParamCallback cb) { caliParamCallback_ = std::move(cb); }
    void setTransferCaliParamCallback(TransferCaliParamCallback cb) { transferCaliParamCallback_ = std::move(cb); }
    void setStartCalibrateCallback(StartCalibrateCallback cb) { startCalibrateCallback_ = std::move(cb); }
    void setDataTimeoutCallback(DataTimeoutCallback cb) { dataTimeoutCallback_ = std::move(cb); }

    int index() const { return index_; }
    int outletCount() const { return outletCount_; }
    const std::shared_ptr<SerialPort>& serialPort() const { return serialPort_; }

private:
    // key: what the reply names of the request (PowerModulePacketParser::replyKey).
    bool send(const unsigned char* frame, int length, uint32_t key, int tag = -1, bool exact = false,
              PacedLine::Turn turn = PacedLine::Turn::kInOrder);
    void onFrameOut(int tag, double carriedIn, uint64_t seq);
    void pollStep();
    // Tells the line what the polls running take of it.
    void notePollLoad();
    // The meter poll's turn after port's: the inlet, then each outlet.
    int nextPollPort(int port) const;
    // A query first in line that no frame out asks: its reply tells what
    // went before it answered or never heard.
    void sendMarker();
    void dispatch(const Ptr& self, unsigned char cmd);
    void dispatchMeterData(const Ptr& self);
    // The outlets whose last relay frame went before the poll at seq.
    unsigned char heardBefore(uint64_t seq) const;
    // An outlet of this module, or the inlet where the reply may name it.
    bool acceptPort(const char* reply, int port, bool inletAllowed) const;
    // A status report that answers no poll out: a line, at a bounded rate.
    void dropUnaskedReport() const;

    int index_;
    int outletCount_;
    bool pollInlet_;
    bool pollOutlets_;
    int currentPollPort_;
    std::shared_ptr<SerialPort> serialPort_;
    std::unique_ptr<PacedLine> line_;
    double meterEvery_ = 0;  // seconds between polls, 0 while stopped
    double statusEvery_ = 0;
    uint64_t lastRelayFrame_[kMaxOutlets] = {};  // each outlet's, by its place on the line
    std::shared_ptr<PduTimer> statusTimer_;
    std::shared_ptr<PduTimer> meterTimer_;
    std::shared_ptr<PduTimer> dataTimeoutTimer_;
    MeterDataCallback meterDataCallback_;
    RelayReplyCallback relayReplyCallback_;
    RelayFrameOutCallback relayFrameOutCallback_;
    OutputStatusCallback outputStatusCallback_;
    CaliParamCallback caliParamCallback_;
    TransferCaliParamCallback transferCaliParamCallback_;
    StartCalibrateCallback startCalibrateCallback_;
    DataTimeoutCallback dataTimeoutCallback_;
    PowerModulePacketParser parser_;
};
