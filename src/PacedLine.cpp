#include "PacedLine.h"

#include <algorithm>
#include <cstring>

#include "PduTimer.h"

const double PacedLine::kLead = 0.02;

PacedLine::PacedLine(muduo::net::EventLoop* loop, muduo::net::FileHandlerPtr device, int bytesPerSecond)
    : device_(std::move(device)), bytesPerSecond_(bytesPerSecond > 0 ? bytesPerSecond : 1), queuedBytes_(0),
      timer_(std::make_shared<PduTimer>(loop, 0)), timerArmed_(false), pumping_(false)
{
    timer_->setTimerCallback([this](const std::shared_ptr<PduTimer>&) {
        timerArmed_ = false;
        pump();
    });
}

PacedLine::~PacedLine() { timer_->cancel(); }

bool PacedLine::send(const unsigned char* frame, int length, int tag, int replyLength)
{
    if (!frame || length < 1 || length > kMaxFrame)
        return false;
    Frame f;
    std::memcpy(f.bytes, frame, static_cast<size_t>(length));
    f.length = static_cast<uint8_t>(length);
    f.charged = static_cast<uint8_t>(std::min(std::max(length, replyLength), 255));
    f.tag = tag;
    queue_.push_back(f);
    queuedBytes_ += f.charged;
    pump();
    return true;
}

bool PacedLine::holds(int tag, int mask) const
{
    return std::any_of(queue_.begin(), queue_.end(),
                       [=](const Frame& f) { return f.tag >= 0 && (f.tag & mask) == (tag & mask); });
}

double PacedLine::ahead(muduo::Timestamp now) const
{
    return now < carriedAt_ ? muduo::timeDifference(carriedAt_, now) : 0.0;
}

double PacedLine::behind() const
{
    const size_t waiting = queuedBytes_ + device_->outputBytes();
    return ahead(muduo::Timestamp::now(true)) + static_cast<double>(waiting) / bytesPerSecond_;
}

void PacedLine::pump()
{
    // A frame-out callback that queues a frame lands here: the loop below takes it.
    if (pumping_)
        return;
    pumping_ = true;
    while (!queue_.empty())
    {
        // The device holds bytes back (full for a moment): its drain resumes us.
        if (device_->outputBytes() > 0)
            break;
        const muduo::Timestamp now = muduo::Timestamp::now(true);
        double lead = ahead(now);
        if (lead > kLead)
        {
            if (!timerArmed_)
            {
                timerArmed_ = true;
                timer_->runAfter(lead - kLead);
            }
            break;
        }
        const Frame f = queue_.front();
        queue_.pop_front();
        queuedBytes_ -= f.charged;
        lead += f.charged / bytesPerSecond_;
        carriedAt_ = muduo::addTime(now, lead);
        device_->write(f.bytes, f.length);
        if (f.tag >= 0 && frameOutCallback_)
            frameOutCallback_(f.tag, lead);
    }
    pumping_ = false;
}
