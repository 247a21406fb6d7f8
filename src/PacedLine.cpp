#include "PacedLine.h"

#include <algorithm>
#include <cstring>

#include "PduTimer.h"

const double PacedLine::kLead = 0.02;
const double PacedLine::kOwedWindow = 0.1;

namespace
{
// Charged bytes a pace is measured over: two windows, so a reply's lateness
// does not pass for the line's pace.
const double kPaceWindows = 2.0;
// A far end answering slower than this is not told from one answering nothing.
const int kSlowestPaceShare = 64;
}

PacedLine::PacedLine(muduo::net::EventLoop* loop, muduo::net::FileHandlerPtr device, int bytesPerSecond,
                     double replyWait)
    : device_(std::move(device)), bytesPerSecond_(bytesPerSecond > 0 ? bytesPerSecond : 1), queuedBytes_(0),
      pace_(std::min(bytesPerSecond_, bytesPerSecond_ * kOwedWindow / (replyWait > 0 ? replyWait : 1))),
      paceBytes_(0), measured_(false), framesOut_(0), awaited_(replyWait, bytesPerSecond_),
      timer_(std::make_shared<PduTimer>(loop, 0)), pumping_(false)
{
    timer_->setTimerCallback([this](const std::shared_ptr<PduTimer>&) { pump(); });
}

PacedLine::~PacedLine() { timer_->cancel(); }

bool PacedLine::send(const unsigned char* frame, int length, int tag, int replyLength, uint32_t replyKey,
                     bool exact)
{
    return queue(frame, length, tag, replyLength, replyKey, exact, false);
}

bool PacedLine::sendMarker(const unsigned char* frame, int length, int tag, int replyLength, uint32_t replyKey)
{
    return queue(frame, length, tag, replyLength, replyKey, false, true);
}

bool PacedLine::queue(const unsigned char* frame, int length, int tag, int replyLength, uint32_t replyKey,
                      bool exact, bool marker)
{
    if (!frame || length < 1 || length > kMaxFrame)
        return false;
    Frame f;
    std::memcpy(f.bytes, frame, static_cast<size_t>(length));
    f.length = static_cast<uint8_t>(length);
    f.replyLength = static_cast<uint8_t>(std::min(std::max(replyLength, 0), 255));
    f.charged = std::max(f.length, f.replyLength);
    f.exact = exact;
    f.marker = marker;
    f.replyKey = replyKey;
    f.tag = tag;
    if (marker)
        queue_.push_front(f);
    else
        queue_.push_back(f);
    queuedBytes_ += f.charged;
    pump();
    return true;
}

bool PacedLine::answer(uint32_t key, AwaitedReplies::Answer* answered)
{
    return awaited_.answer(key, muduo::Timestamp::now(true), answered);
}

bool PacedLine::asks(uint32_t key) const { return awaited_.asks(key, muduo::Timestamp::now(true)); }

bool PacedLine::holds(int tag, int mask) const
{
    return std::any_of(queue_.begin(), queue_.end(),
                       [=](const Frame& f) { return AwaitedReplies::agrees(f.tag, tag, mask); });
}

bool PacedLine::owes(int tag, int mask) const { return awaited_.holds(tag, mask, muduo::Timestamp::now(true)); }

bool PacedLine::replyComing(int tag, int mask) const
{
    return awaited_.replyComing(tag, mask, muduo::Timestamp::now(true));
}

void PacedLine::withdraw(int tag, int mask)
{
    for (auto f = queue_.begin(); f != queue_.end();)
    {
        if (AwaitedReplies::agrees(f->tag, tag, mask))
        {
            queuedBytes_ -= f->charged;
            f = queue_.erase(f);
        }
        else
            ++f;
    }
}

double PacedLine::ahead(muduo::Timestamp now) const
{
    return now < carriedAt_ ? muduo::timeDifference(carriedAt_, now) : 0.0;
}

double PacedLine::pace() const
{
    // Before the line has gone under load: what a far end taking its replies
    // that long lets through, at least what the window lets through to one
    // that answers nothing.
    return measured_ ? pace_ : std::max(pace_, std::min(awaited_.replyPace(), bytesPerSecond_));
}

double PacedLine::behind() const
{
    return ahead(muduo::Timestamp::now(true)) + static_cast<double>(device_->outputBytes()) / bytesPerSecond_ +
           static_cast<double>(queuedBytes_) / pace();
}

void PacedLine::notePace(muduo::Timestamp now, size_t sent)
{
    if (paceFrom_.valid())
    {
        paceBytes_ += sent;
        const double seconds = muduo::timeDifference(now, paceFrom_);
        if (paceBytes_ >= kPaceWindows * kOwedWindow * bytesPerSecond_ && seconds > 0)
        {
            // Down at once, up by halves: a line slower than reckoned would hold accepted commands back.
            const double measured = static_cast<double>(paceBytes_) / seconds;
            const double before = pace();
            pace_ = std::max(std::min(measured < before ? measured : (before + measured) / 2, bytesPerSecond_),
                             bytesPerSecond_ / kSlowestPaceShare);
            measured_ = true;
            paceFrom_ = now;
            paceBytes_ = 0;
        }
    }
    if (queue_.empty())
        paceFrom_ = muduo::Timestamp::invalid();
    else if (!paceFrom_.valid())
    {
        paceFrom_ = now;
        paceBytes_ = 0;
    }
}

bool PacedLine::repliesHaveRoom(const Frame& f, muduo::Timestamp now) const
{
    // One reply always may be owed, however long.
    const int owed = awaited_.owed(now);
    return !awaited_.full(now) && (owed == 0 || owed + f.replyLength <= kOwedWindow * bytesPerSecond_);
}

void PacedLine::wakeAt(muduo::Timestamp when, muduo::Timestamp now)
{
    const muduo::Timestamp armed = timer_->expiration();  // monotonic, as when
    if (!when.valid() || (armed.valid() && !(when < armed)))
        return;
    timer_->cancel();
    timer_->runAfter(muduo::timeDifference(when, now));
}

void PacedLine::pump()
{
    // A frame-out callback that queues a frame lands here: the loop below takes it.
    if (pumping_)
        return;
    pumping_ = true;
    size_t sent = 0;
    while (!queue_.empty())
    {
        // The device holds bytes back (full for a moment): its drain resumes us.
        if (device_->outputBytes() > 0)
            break;
        const muduo::Timestamp now = muduo::Timestamp::now(true);
        double lead = ahead(now);
        if (lead > kLead)
        {
            wakeAt(muduo::addTime(now, lead - kLead), now);
            break;
        }
        const Frame f = queue_.front();
        if (!f.marker && !repliesHaveRoom(f, now))
        {
            // A reply that comes resumes us; else what is owed falls when the far end has been quiet a wait.
            wakeAt(awaited_.nextChange(now), now);
            break;
        }
        queue_.pop_front();
        queuedBytes_ -= f.charged;
        sent += f.charged;
        lead += f.charged / bytesPerSecond_;
        carriedAt_ = muduo::addTime(now, lead);
        device_->write(f.bytes, f.length);
        ++framesOut_;
        if (f.replyLength > 0)
            awaited_.sent(f.replyKey, f.tag, f.replyLength, carriedAt_, f.exact, framesOut_);
        if (f.tag >= 0 && frameOutCallback_)
            frameOutCallback_(f.tag, lead, framesOut_);
    }
    notePace(muduo::Timestamp::now(true), sent);
    pumping_ = false;
}
