#pragma once
#include <memory>
#include <vector>

#include "cascade/processor/CascadeCtrlDataParserTable.h"
#include "cascade/processor/CascadeCtrlProcessorFactory.h"
#include "cascade/processor/CascadeCtrlRelayQueue.h"
#include "muduo/base/Timestamp.h"

class PduServer;
class PduTimer;
struct _SlaveDevice;

namespace CascadeCtrl
{
class CascadeCtrlLocalQueryDeviceInfoRelay;
class CascadeCtrlLocalQueryDeviceInfoExtRelay;
class CascadeCtrlLocalQueryDeviceStatusRelay;
class CascadeCtrlLocalQueryDeviceStatusExtRelay;

// The master's end of the cascade line, which carries one request at a
// time. It polls every slave of the device record in turn, for identity
// until the slave answers, then for status, each poll after its pause. The
// requests clients address to slaves use the line between polls: at once
// when it is free, else from a queue that gives each slave a bounded share
// (CascadeCtrlRelayQueue); a poll that falls due goes next, before any
// queued request, and a request never moves the poll order on, so the
// records follow the slaves whatever the clients ask. A request for an
// address without a slave record, or for a slave that has missed an answer
// and not answered since, is refused at once (the latter logged once per
// silence). An answer counts only with the sequence number of the request
// awaited; its processor updates the slave's record or replies to the
// client. A slave that misses an answer is marked invalid and queried for
// identity again; the log says so once when it goes silent and once when
// it answers again. One timer paces the polls and times the answers; it is
// the only thing that runs on its own.
// Loop thread only.
class CascadeCtrlMasterProcessorFactory final : public CascadeCtrlProcessorFactory
{
public:
    // In the due states the line is free and the timer armed for that poll;
    // in the others a request is on the line and the timer times its answer.
    enum State
    {
        kInfoDue = 0,        // identity query of the slave at the poll index
        kInfoAwaited = 1,
        kInfoExtDue = 2,     // its Ext identity query (more than 31 outlets)
        kInfoExtAwaited = 3,
        kStatusDue = 4,
        kStatusAwaited = 5,
        kRelayAwaited = 6,   // a client's request
    };
    static constexpr size_t kMaxQueuedRelays = CascadeCtrlRelayQueue::kMaxRelays;
    static constexpr double kInfoPause = 1.0;  // before an identity query
    static constexpr double kPollPause = 0.5;  // before a status or Ext identity query
    static constexpr double kPollTimeout = 1.0;
    static constexpr double kRelayTimeout = 3.0;
    // An answer still arriving keeps its request alive until it has been
    // silent for the time-out, but never longer than this after the send.
    static constexpr double kMaxAnswerSeconds = 30.0;

    CascadeCtrlMasterProcessorFactory(muduo::net::EventLoop* loop, PduServer* server);
    // Requests and polls go out on line.
    CascadeCtrlMasterProcessorFactory(muduo::net::EventLoop* loop, const std::shared_ptr<SerialPort>& line);
    // The 43 answer parsers, one per code.
    static void addAnswerParsers(CascadeCtrlDataParserTable& table);
    ~CascadeCtrlMasterProcessorFactory() override;

    void start() override;
    void stop() override;
    void addCascadeCtrlRelay(const std::shared_ptr<CascadeCtrlRelay>& relay) override;
    std::shared_ptr<CascadeCtrlDataParser> getDataParser(unsigned char code) override { return parsers_.find(code); }
    void process(std::shared_ptr<CascadeCtrlProcessor>& processor, int sequence) override;
    void onTimeout();

    State state() const { return state_; }
    size_t queuedRelays() const { return queue_.size(); }

protected:
    void onFrameProgress(int address) override;

private:
    bool waiting() const { return state_ == kInfoAwaited || state_ == kInfoExtAwaited || state_ == kStatusAwaited ||
                                  state_ == kRelayAwaited; }
    // The slave at the poll index: its address and record (null if none).
    int polledAddress() const;
    const _SlaveDevice* polledSlave() const;
    void arm(double seconds, State next);
    void send(const std::shared_ptr<CascadeCtrlRelay>& relay, double timeout, State next);
    void sendPoll(const std::shared_ptr<CascadeCtrlRelay>& poll, State next);
    void sendDuePoll();
    // Sends the first queued relay whose slave is valid, dropping those
    // before it; false when none is left.
    bool serveQueue();
    // The poll due after pause from now; the line is not touched.
    void schedule(double pause, State poll);
    bool pollDue(muduo::Timestamp now) const;
    // The line is free: the poll if it is due, else a queued relay, else
    // the wait for the poll.
    // relayLine: the INFO line when a queued relay is sent (after an answer
    // or a time-out).
    void next(const char* relayLine = "transfer remote");
    // The poll order moves on to the next slave, whose poll is scheduled.
    void advance(bool logging);
    // The request awaited keeps arriving: true when the wait was extended.
    bool extendWait();
    void timeOut();

    CascadeCtrlDataParserTable parsers_;
    std::shared_ptr<PduTimer> pollTimer_;
    State state_;
    CascadeCtrlRelayQueue queue_;
    std::vector<int> slaves_;
    int pollIndex_;
    // The poll that falls due next (kInfoDue, kInfoExtDue or kStatusDue)
    // and when; a relay on the line leaves both as they are.
    State duePoll_;
    muduo::Timestamp dueAt_;
    std::shared_ptr<CascadeCtrlRelay> current_;
    std::shared_ptr<CascadeCtrlLocalQueryDeviceInfoRelay> infoPoll_;
    std::shared_ptr<CascadeCtrlLocalQueryDeviceInfoExtRelay> infoExtPoll_;
    std::shared_ptr<CascadeCtrlLocalQueryDeviceStatusRelay> statusPoll_;
    std::shared_ptr<CascadeCtrlLocalQueryDeviceStatusExtRelay> statusExtPoll_;
    // The request awaited: sent when, its answer's silence time-out, and
    // when a chunk of its answer last came.
    muduo::Timestamp sentAt_;
    double timeout_;
    muduo::Timestamp lastProgress_;
};
}
