#include "PacedLine.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "PduTimer.h"

const double PacedLine::kLead = 0.02;
const double PacedLine::kOwedWindow = 0.1;
const double PacedLine::kLongestProbe = 2.0;

namespace
{
// Charged bytes a pace is measured over: two windows, so a reply's lateness
// does not pass for the line's pace.
const double kPaceWindows = 2.0;
// A far end answering slower than this is not told from one answering nothing.
const int kSlowestPaceShare = 64;
// A quiet far end's next probe, after this share of its quiet spell so far
// (a second at least).
const double kProbeShare = 1.0 / 20;
const double kShortestSpell = 1.0;
// The shortest frame that waits in order (a relay command's reply).
const double kShortestInOrder = 6;
// Never two polls in a row while frames in order wait, and a poll's reply
// (22 bytes) is at most a few relay frames': the frames in order get at least this.
const double kLeastInOrderShare = 0.2;
}

PacedLine::PacedLine(muduo::net::EventLoop* loop, muduo::net::FileHandlerPtr device, int bytesPerSecond,
                     double replyWait)
    : device_(std::move(device)), bytesPerSecond_(bytesPerSecond > 0 ? bytesPerSecond : 1), queuedBytes_(0),
      queuedInOrder_(0),
      pace_(std::min(bytesPerSecond_, bytesPerSecond_ * kOwedWindow / (replyWait > 0 ? replyWait : 1))),
      paceBytes_(0), measured_(false), pollLoad_(0), lastWasPoll_(false), carryLeft_(0), framesOut_(0),
      awaited_(replyWait, bytesPerSecond_), timer_(std::make_shared<PduTimer>(loop, 0)), pumping_(false)
{
    timer_->setTimerCallback([this](const std::shared_ptr<PduTimer>&) { pump(); });
}

PacedLine::~PacedLine() { timer_->cancel(); }

bool PacedLine::send(const unsigned char* frame, int length, int tag, int replyLength, uint32_t replyKey,
                     bool exact, Turn turn)
{
    if (!frame || length < 1 || length > kMaxFrame)
        return false;
    Frame f;
    std::memcpy(f.bytes, frame, static_cast<size_t>(length));
    f.length = static_cast<uint8_t>(length);
    f.replyLength = static_cast<uint8_t>(std::min(std::max(replyLength, 0), 255));
    f.charged = std::max(f.length, f.replyLength);
    f.exact = exact;
    f.turn = turn;
    f.replyKey = replyKey;
    f.tag = tag;
    // Markers, then polls, then the frames in order: each joins the end of its own.
    auto at = queue_.end();
    if (turn != Turn::kInOrder)
        at = std::find_if(queue_.begin(), queue_.end(), [turn](const Frame& w) {
            return w.turn == Turn::kInOrder || (turn == Turn::kMarker && w.turn == Turn::kPoll);
        });
    queue_.insert(at, f);
    queuedBytes_ += f.charged;
    if (turn == Turn::kInOrder)
        queuedInOrder_ += f.charged;
    pump();
    return true;
}

bool PacedLine::answer(uint32_t key, AwaitedReplies::Answer* answered)
{
    return awaited_.answer(key, muduo::Timestamp::now(true), answered);
}

bool PacedLine::holds(int tag, int mask) const
{
    return std::any_of(queue_.begin(), queue_.end(),
                       [=](const Frame& f) { return AwaitedReplies::agrees(f.tag, tag, mask); });
}

bool PacedLine::replyComing(int tag, int mask) const
{
    return awaited_.replyComing(tag, mask, muduo::Timestamp::now(true));
}

bool PacedLine::quietSince(uint64_t seq) const
{
    return quietSpell(muduo::Timestamp::now(true)).valid() && awaited_.newestSeq() > seq;
}

void PacedLine::withdraw(int tag, int mask)
{
    for (auto f = queue_.begin(); f != queue_.end();)
    {
        if (AwaitedReplies::agrees(f->tag, tag, mask))
        {
            taken(*f);
            f = queue_.erase(f);
        }
        else
            ++f;
    }
}

void PacedLine::taken(const Frame& f)
{
    queuedBytes_ -= f.charged;
    if (f.turn == Turn::kInOrder)
        queuedInOrder_ -= f.charged;
    carryLeft_ = std::min(carryLeft_, queuedInOrder_);
}

double PacedLine::ahead(muduo::Timestamp now) const
{
    return now < carriedAt_ ? muduo::timeDifference(carriedAt_, now) : 0.0;
}

double PacedLine::pace() const
{
    // Before the line has gone under load: what a far end taking its replies
    // that long lets through; before its first reply, what the window lets
    // through at the reply's wait.
    if (measured_)
        return pace_;
    return awaited_.replyPace() > 0 ? std::min(awaited_.replyPace(), bytesPerSecond_) : pace_;
}

double PacedLine::inOrderPace() const
{
    const double all = pace();
    return std::max(all - pollLoad_, all * kLeastInOrderShare);
}

muduo::Timestamp PacedLine::quietSpell(muduo::Timestamp now) const
{
    const muduo::Timestamp from = awaited_.quietFrom();
    return from.valid() && from <= now ? from : muduo::Timestamp::invalid();
}

double PacedLine::behind() const
{
    const muduo::Timestamp now = muduo::Timestamp::now(true);
    const double device = ahead(now) + static_cast<double>(device_->outputBytes()) / bytesPerSecond_;
    // A backlog the far end owes goes before anything more, once it answers.
    const double backlog = std::max(0.0, awaited_.owed() - kOwedWindow * bytesPerSecond_) / awaited_.busyPace();
    const double answering = backlog + static_cast<double>(queuedBytes_) / inOrderPace();
    const muduo::Timestamp spell = quietSpell(now);
    if (!spell.valid())
        return device + answering;
    // Quiet, and perhaps still so: what its carry takes goes at the line's
    // pace, the rest and a frame more as probes, each perhaps after a poll's,
    // each after a longer wait.
    const size_t carry = spell == spell_ ? carryLeft_ : queuedInOrder_;
    const double probes = 2 * (std::ceil(static_cast<double>(queuedInOrder_ - carry) / kShortestInOrder) + 1);
    const double quiet = std::max(muduo::timeDifference(now, spell), kShortestSpell);
    const double probed = static_cast<double>(carry) / bytesPerSecond_ +
                          std::min(quiet * (std::pow(1 + kProbeShare, probes) - 1), probes * kLongestProbe);
    return device + std::max(answering, probed);
}

size_t PacedLine::next() const
{
    return queue_.front().turn == Turn::kPoll && lastWasPoll_ ? firstInOrder() : 0;
}

size_t PacedLine::firstInOrder() const
{
    // The polls and markers come first: past them.
    for (size_t i = 0; i < queue_.size(); ++i)
        if (queue_[i].turn == Turn::kInOrder)
            return i;
    return 0;
}

bool PacedLine::mayGo(const Frame& f, muduo::Timestamp now, muduo::Timestamp spell, muduo::Timestamp* again) const
{
    if (f.turn == Turn::kMarker)
        return true;
    if (!spell.valid())
    {
        const int owed = awaited_.owed();
        if (owed == 0 || owed + f.replyLength <= kOwedWindow * bytesPerSecond_)
            return true;
        *again = awaited_.quietFrom();  // a reply that comes resumes us sooner
        return false;
    }
    if (f.turn == Turn::kInOrder && f.charged <= carryLeft_)
        return true;
    const double quietThen = std::max(muduo::timeDifference(lastOut_, spell), kShortestSpell);
    *again = muduo::addTime(lastOut_, std::min(quietThen * kProbeShare, kLongestProbe));
    return !(now < *again);
}

void PacedLine::notePace(muduo::Timestamp now, size_t sent)
{
    // Quiet, or owed what it was sent quiet: the far end holds the line back;
    // that is no pace of its.
    const bool held =
        quietSpell(now).valid() || awaited_.owed() > kOwedWindow * bytesPerSecond_;
    if (paceFrom_.valid() && !held)
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
    else if (!paceFrom_.valid() || held)
    {
        paceFrom_ = now;
        paceBytes_ = 0;
    }
}

void PacedLine::wakeAt(muduo::Timestamp when, muduo::Timestamp now)
{
    const muduo::Timestamp armed = timer_->expiration();  // monotonic, as when
    if (!when.valid() || (armed.valid() && !(when < armed)))
        return;
    timer_->cancel();
    timer_->runAfter(std::max(0.0, muduo::timeDifference(when, now)));
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
        const muduo::Timestamp spell = quietSpell(now);
        if (spell != spell_)
        {
            // Quiet from now: what was accepted before goes on.
            spell_ = spell;
            carryLeft_ = queuedInOrder_;
        }
        size_t i = next();
        muduo::Timestamp again;
        if (!mayGo(queue_[i], now, spell, &again))
        {
            // A poll waiting for its probe holds back nothing the carry lets go.
            const size_t j = firstInOrder();
            muduo::Timestamp none;
            if (!spell.valid() || j == i || queue_[j].turn != Turn::kInOrder || !mayGo(queue_[j], now, spell, &none))
            {
                wakeAt(again, now);
                break;
            }
            i = j;
        }
        const Frame f = queue_[i];
        queue_.erase(queue_.begin() + static_cast<std::ptrdiff_t>(i));
        sent += f.charged;
        if (spell.valid() && f.turn == Turn::kInOrder)
            carryLeft_ -= std::min<size_t>(carryLeft_, f.charged);
        taken(f);
        lastWasPoll_ = f.turn != Turn::kInOrder;
        lastOut_ = now;
        // The far end has the frame once its own bytes are carried; the line is
        // given its reply's time as well.
        const double heardIn = lead + f.length / bytesPerSecond_;
        lead += f.charged / bytesPerSecond_;
        carriedAt_ = muduo::addTime(now, lead);
        device_->write(f.bytes, f.length);
        ++framesOut_;
        if (f.replyLength > 0)
            awaited_.sent(f.replyKey, f.tag, f.replyLength, muduo::addTime(now, heardIn), f.exact, framesOut_);
        if (f.tag >= 0 && frameOutCallback_)
            frameOutCallback_(f.tag, heardIn, framesOut_);
    }
    notePace(muduo::Timestamp::now(true), sent);
    pumping_ = false;
}
