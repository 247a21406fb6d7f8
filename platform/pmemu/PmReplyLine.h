#pragma once
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace pmemu
{
// The module's transmit side: the replies waiting for the line, in order.
// A reply is ready its delay after its request was received; it goes on the
// line once ready and once the line has carried the one before (replies
// never overtake each other), takes size/pace to carry, and is written when
// its last byte has been carried. Split replies go in pieces with a gap
// between them. Held replies wait; on release they go from then on. Keeps
// the times of the newest replies written, for tests of how late they came.
// Unasked replies take the same line, ready when queued: they go before
// replies not ready by then (a late answer), never into one, and have no
// time kept as they answer nothing. Thread-safe.
class PmReplyLine
{
public:
    using Clock = std::chrono::steady_clock;
    using Millis = std::chrono::milliseconds;
    using Bytes = std::vector<uint8_t>;

    // A reply's request received, and the reply's last byte written.
    struct ReplyTime
    {
        Clock::time_point received;
        Clock::time_point written;
    };
    static constexpr size_t kTimesKept = 200000;

    void setDelay(Millis delay);
    // Pieces of pieceBytes with gap between them; 0 = whole replies.
    void setSplit(size_t pieceBytes, Millis gap);
    // Bytes a second the line carries; 0 carries any reply at once.
    void setPace(int bytesPerSecond);
    int pace() const;
    void hold(bool held);
    bool held() const;

    void queue(const Bytes& reply, Clock::time_point received);
    // A reply nobody asked for, ready at ready (no delay added).
    void queueUnasked(const Bytes& reply, Clock::time_point ready);
    // Writes to fd every piece the line has carried by now.
    void sendDue(int fd);
    // The time until the next piece is due, at most most.
    Millis untilNext(Millis most) const;
    // The bytes of replies queued and not yet written, held and unasked ones included.
    size_t waitingBytes() const;
    // The replies written at or after since, oldest first (of the newest kTimesKept).
    std::vector<ReplyTime> replyTimes(Clock::time_point since) const;

private:
    struct Piece
    {
        Clock::time_point ready;  // not on the line before
        Millis after;             // nor sooner after the piece before
        Bytes bytes;
        Clock::time_point received;
        bool last;    // of its reply
        bool answer;  // to a request received then
    };

    void queueLocked(const Bytes& reply, Clock::time_point ready, Clock::time_point received, bool answer);
    Clock::time_point carried(const Piece& piece) const;

    mutable std::mutex mutex_;
    std::deque<Piece> pieces_;
    Millis delay_{0};
    size_t pieceBytes_ = 0;
    Millis gap_{0};
    int pace_ = 0;
    bool held_ = false;
    bool midReply_ = false;  // the front piece's reply is partly written
    Clock::time_point free_{};  // the line has carried everything written
    size_t waiting_ = 0;
    std::deque<ReplyTime> times_;
};
}
