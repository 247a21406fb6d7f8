#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "PmChatter.h"
#include "PmLineCredit.h"
#include "PmMeterModel.h"
#include "PmPty.h"
#include "PmReplyLine.h"
#include "PmRequest.h"
#include "PmRequestReader.h"

namespace pmemu
{
// The serial power-metering/relay module on a pseudo-terminal: answers every
// request from its own thread, with controls for tests (silence, late, split
// or corrupted replies, unasked ones) and a log of what it received.
// Thread-safe.
class PowerModuleEmulator
{
public:
    using Clock = std::chrono::steady_clock;
    using Millis = std::chrono::milliseconds;
    using RelayListener = std::function<void(uint8_t relayBits)>;
    using ReplyTime = PmReplyLine::ReplyTime;

    explicit PowerModuleEmulator(std::string linkPath);
    ~PowerModuleEmulator();
    PowerModuleEmulator(const PowerModuleEmulator&) = delete;
    PowerModuleEmulator& operator=(const PowerModuleEmulator&) = delete;

    // Opens the pty, links it and starts answering; false with a reason.
    bool start(std::string* error = nullptr);
    void stop();
    const std::string& linkPath() const { return linkPath_; }
    std::string slavePath() const { return pty_.slavePath(); }

    // Readings, relays and calibration state.
    PmMeterModel& model() { return model_; }
    uint8_t relayBits() const { return model_.relayBits(); }

    // A silent module neither acts nor answers (requests are still logged).
    void setSilent(bool silent);
    void setReplyDelay(Millis delay);
    // The next n replies go out with their checksum off by one.
    void corruptNextReplies(int n);
    // Replies go out in pieces of pieceBytes with gap between them; 0 = whole.
    void setSplitReplies(size_t pieceBytes, Millis gap);
    // The line carries bytesPerSecond both ways (19200 baud: 1920): requests
    // are read no faster, and each reply is written when the line has carried
    // it, after the one before. 0 reads whatever has arrived and answers at once.
    void setLinePace(int bytesPerSecond);
    int linePace() const;
    // Replies alone at bytesPerSecond (0: at once), the read pace kept: a
    // module whose return line is slower than its reading, say.
    void setReplyPace(int bytesPerSecond);
    int replyPace() const;
    // Held replies wait, in order, and go out from the release on; requests
    // are still received and acted on.
    void holdReplies(bool hold);
    bool repliesHeld() const;
    // The next relay frame for port with action is lost on the line: it is
    // neither logged nor answered.
    void loseNextRelayFrame(uint8_t port, uint8_t action);
    // Faults drawn for each frame from seed, as a line and a firmware have
    // them: a request lost (neither logged nor answered), a reply lost after
    // the request was acted on, a reply with one byte garbled.
    struct Faults
    {
        double frameLoss = 0, replyLoss = 0, garble = 0;
    };
    void setFaults(const Faults& faults, uint32_t seed);
    // From now on, once a period (the first one period from now), a relay
    // reply for port (action, result 0) goes on the return line unasked: a
    // second talker, a confused firmware. It takes the line like the answers
    // (pace, holds, split; no delay, corruption or loss), not when silent. A
    // period of 0 or less stops it; a port outside 0 to 255 changes nothing.
    void setChatter(int port, uint8_t action, Millis every);
    // Called from the emulator's thread after a relay command changed a relay,
    // and after a tripping load (PmMeterModel::setTrip) switched one off: at
    // the trip's time, or within 200 ms of it when the relay was switched on
    // from another thread than the emulator's.
    void setRelayListener(RelayListener listener);

    std::vector<PmRequest> requests() const;
    void clearRequests();
    // Waits until at least n requests (since the last clear) were received.
    bool waitForRequests(size_t n, Millis timeout) const;
    int relayCommandCount() const;
    int relayCommandCount(int port) const;
    // Answers to requests queued for the line (lost ones not); chatterSent()
    // counts the unasked replies queued.
    size_t repliesSent() const;
    size_t chatterSent() const;
    // The bytes of replies the module has queued and not yet written: held,
    // or waiting for a slow return line (unasked ones included).
    size_t waitingBytes() const;
    // For each reply written at or after since (of the newest
    // PmReplyLine::kTimesKept), when its request came and when it went.
    std::vector<ReplyTime> replyTimes(Clock::time_point since = Clock::time_point()) const;
    size_t badFrames() const;  // checksum errors and unknown commands

private:
    using Bytes = std::vector<uint8_t>;

    void run();
    // credit: the bytes a paced line has brought, or -1 unpaced.
    void receive(long credit);
    void handle(const PmRequest& request);
    bool lost(const PmRequest& request);
    bool draw(double chance);
    void wake();
    // The time until a chatter reply or a trip is due, at most most.
    Millis untilDue(Millis most);
    void sendChatter();
    void noticeTrips();

    const std::string linkPath_;
    PmMeterModel model_;
    PmPty pty_;
    PmRequestReader reader_;  // emulator thread only
    int wake_[2] = {-1, -1};
    std::thread thread_;
    std::atomic<bool> running_{false};
    size_t tripsTold_ = 0;  // emulator thread only

    mutable std::mutex mutex_;
    mutable std::condition_variable received_;
    std::vector<PmRequest> log_;
    PmReplyLine replyLine_;
    bool silent_ = false;
    int corrupt_ = 0;
    Faults faults_;
    std::mt19937 faultDraws_;
    RelayListener listener_;
    PmLineCredit lineCredit_;
    std::vector<std::pair<uint8_t, uint8_t>> losses_;
    int relayCommands_[PmMeterModel::kOutlets + 1] = {};  // last: bad ports
    size_t replies_ = 0;
    PmChatter chatter_;
    size_t chatterSent_ = 0;
    size_t badFrames_ = 0;
};
}
