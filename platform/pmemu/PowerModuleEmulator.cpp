#include "PowerModuleEmulator.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "PmFirmware.h"

namespace pmemu
{
PowerModuleEmulator::PowerModuleEmulator(std::string linkPath) : linkPath_(std::move(linkPath)) {}

PowerModuleEmulator::~PowerModuleEmulator()
{
    stop();
}

bool PowerModuleEmulator::start(std::string* error)
{
    std::string reason;
    if (running_)
        reason = "already running";
    else if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0)
        reason = "pipe failed";
    else if (pty_.open(linkPath_, reason))
    {
        tripsTold_ = model_.trips();
        running_ = true;
        thread_ = std::thread([this] { run(); });
        return true;
    }
    if (error)
        *error = reason;
    return false;
}

void PowerModuleEmulator::stop()
{
    if (running_.exchange(false))
    {
        const char byte = 0;
        (void)!::write(wake_[1], &byte, 1);
        thread_.join();
    }
    pty_.close();
    for (int& fd : wake_)
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void PowerModuleEmulator::run()
{
    while (running_)
    {
        // A paced line that has not brought more bytes yet is looked at again then.
        Millis wait{0};
        const long credit = lineCredit_.available(Clock::now(), wait);
        Millis timeout = untilDue(replyLine_.untilNext(Millis(200)));
        if (credit == 0)
            timeout = std::min(timeout, wait);
        pollfd fds[2] = {{pty_.masterFd(), static_cast<short>(credit == 0 ? 0 : POLLIN), 0}, {wake_[0], POLLIN, 0}};
        const int n = ::poll(fds, 2, static_cast<int>(timeout.count()));
        if (n < 0 && errno != EINTR)
            break;
        sendChatter();  // it was due before the requests about to be read
        if (fds[1].revents & POLLIN)
        {
            // A setting changed, perhaps the pace: the credit is reckoned again before reading.
            char drain[64];
            while (::read(wake_[0], drain, sizeof drain) > 0)
            {
            }
        }
        else if (fds[0].revents & POLLIN)
            receive(credit);
        else if (fds[0].revents & (POLLHUP | POLLERR))
            ::usleep(10000);  // the slave end is closed for a moment; do not spin
        noticeTrips();
        replyLine_.sendDue(pty_.masterFd());
    }
}

PowerModuleEmulator::Millis PowerModuleEmulator::untilDue(Millis most)
{
    const Clock::time_point now = Clock::now();
    if (const auto trip = model_.nextTrip())
        most = std::min(most, std::max(std::chrono::ceil<Millis>(*trip - now), Millis(0)));
    std::lock_guard<std::mutex> lock(mutex_);
    return chatter_.until(now, most);
}

void PowerModuleEmulator::sendChatter()
{
    Bytes reply;
    Clock::time_point due;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        // A silent module says nothing, but its beat goes on.
        if (!chatter_.take(Clock::now(), reply, due) || silent_)
            return;
        ++chatterSent_;
    }
    replyLine_.queueUnasked(reply, due);
}

// The model trips its loads lazily; the emulator's thread tells of them.
void PowerModuleEmulator::noticeTrips()
{
    const size_t trips = model_.trips();
    if (trips == tripsTold_)
        return;
    tripsTold_ = trips;
    std::unique_lock<std::mutex> lock(mutex_);
    const RelayListener listener = listener_;
    lock.unlock();
    if (listener)
        listener(model_.relayBits());
}

void PowerModuleEmulator::wake()
{
    const char byte = 0;
    if (wake_[1] >= 0)
        (void)!::write(wake_[1], &byte, 1);
}

void PowerModuleEmulator::receive(long credit)
{
    uint8_t buf[512];
    const size_t room = credit > 0 ? std::min(sizeof buf, static_cast<size_t>(credit)) : sizeof buf;
    const ssize_t n = ::read(pty_.masterFd(), buf, room);
    if (n <= 0)
        return;
    if (credit > 0)
    {
        int waiting = 0;
        const bool left =
            static_cast<size_t>(n) == room && ::ioctl(pty_.masterFd(), FIONREAD, &waiting) == 0 && waiting > 0;
        lineCredit_.take(static_cast<size_t>(n), left);
    }
    std::vector<PmRequest> requests;
    reader_.feed(buf, static_cast<size_t>(n), Clock::now(), requests);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        badFrames_ = reader_.checksumErrors() + reader_.invalidCommands();
    }
    for (const PmRequest& r : requests)
        handle(r);
}

bool PowerModuleEmulator::lost(const PmRequest& request)
{
    if (request.command != 2 || request.payload.size() != 2)
        return false;
    const auto match = std::find(losses_.begin(), losses_.end(),
                                 std::make_pair(request.payload[0], request.payload[1]));
    if (match == losses_.end())
        return false;
    losses_.erase(match);
    return true;
}

bool PowerModuleEmulator::draw(double chance)
{
    return chance > 0 && std::uniform_real_distribution<double>(0, 1)(faultDraws_) < chance;
}

void PowerModuleEmulator::handle(const PmRequest& request)
{
    bool silent;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (lost(request) || draw(faults_.frameLoss))
            return;
        silent = silent_;
        log_.push_back(request);
        log_.back().acted = !silent;
        if (request.command == 2)
            ++relayCommands_[request.payload[0] < PmMeterModel::kOutlets ? request.payload[0] : PmMeterModel::kOutlets];
    }
    received_.notify_all();
    if (silent)
        return;
    bool relayChanged = false;
    Bytes reply = PmFirmware::answer(model_, request, relayChanged);
    RelayListener listener;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (relayChanged)
            listener = listener_;
        if (!reply.empty())
        {
            if (corrupt_ > 0)
            {
                --corrupt_;
                ++reply.back();
            }
            else if (draw(faults_.garble))
                reply[std::uniform_int_distribution<size_t>(0, reply.size() - 1)(faultDraws_)] ^=
                    static_cast<uint8_t>(std::uniform_int_distribution<int>(1, 255)(faultDraws_));
            if (draw(faults_.replyLoss))
                reply.clear();
            else
                ++replies_;
        }
    }
    if (!reply.empty())
        replyLine_.queue(reply, request.received);
    if (listener)
        listener(model_.relayBits());
}

void PowerModuleEmulator::setSilent(bool silent)
{
    std::lock_guard<std::mutex> lock(mutex_);
    silent_ = silent;
}

void PowerModuleEmulator::setLinePace(int bytesPerSecond)
{
    lineCredit_.setPace(bytesPerSecond);
    replyLine_.setPace(bytesPerSecond);
    wake();  // a reply may be due sooner at the new pace
}

int PowerModuleEmulator::linePace() const
{
    return lineCredit_.pace();
}

void PowerModuleEmulator::setReplyPace(int bytesPerSecond)
{
    replyLine_.setPace(bytesPerSecond);
    wake();
}

int PowerModuleEmulator::replyPace() const
{
    return replyLine_.pace();
}

void PowerModuleEmulator::holdReplies(bool hold)
{
    replyLine_.hold(hold);
    wake();
}

bool PowerModuleEmulator::repliesHeld() const
{
    return replyLine_.held();
}

void PowerModuleEmulator::loseNextRelayFrame(uint8_t port, uint8_t action)
{
    std::lock_guard<std::mutex> lock(mutex_);
    losses_.emplace_back(port, action);
}

void PowerModuleEmulator::setFaults(const Faults& faults, uint32_t seed)
{
    std::lock_guard<std::mutex> lock(mutex_);
    faults_ = faults;
    faultDraws_.seed(seed);
}

void PowerModuleEmulator::setReplyDelay(Millis delay)
{
    replyLine_.setDelay(delay);
}

void PowerModuleEmulator::corruptNextReplies(int n)
{
    std::lock_guard<std::mutex> lock(mutex_);
    corrupt_ = n < 0 ? 0 : n;
}

void PowerModuleEmulator::setSplitReplies(size_t pieceBytes, Millis gap)
{
    replyLine_.setSplit(pieceBytes, gap);
}

void PowerModuleEmulator::setChatter(int port, uint8_t action, Millis every)
{
    if (port < 0 || port > 255)
        return;
    std::unique_lock<std::mutex> lock(mutex_);
    chatter_.set(static_cast<uint8_t>(port), action, every, Clock::now());
    lock.unlock();
    wake();  // its first may be due sooner than the thread would look
}

void PowerModuleEmulator::setRelayListener(RelayListener listener)
{
    std::lock_guard<std::mutex> lock(mutex_);
    listener_ = std::move(listener);
}

std::vector<PmRequest> PowerModuleEmulator::requests() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return log_;
}

void PowerModuleEmulator::clearRequests()
{
    std::lock_guard<std::mutex> lock(mutex_);
    log_.clear();
}

bool PowerModuleEmulator::waitForRequests(size_t n, Millis timeout) const
{
    std::unique_lock<std::mutex> lock(mutex_);
    return received_.wait_for(lock, timeout, [&] { return log_.size() >= n; });
}

int PowerModuleEmulator::relayCommandCount() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    int sum = 0;
    for (int c : relayCommands_)
        sum += c;
    return sum;
}

int PowerModuleEmulator::relayCommandCount(int port) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return port >= 0 && port < PmMeterModel::kOutlets ? relayCommands_[port] : 0;
}

size_t PowerModuleEmulator::repliesSent() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return replies_;
}

size_t PowerModuleEmulator::chatterSent() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return chatterSent_;
}

size_t PowerModuleEmulator::waitingBytes() const
{
    return replyLine_.waitingBytes();
}

std::vector<PowerModuleEmulator::ReplyTime> PowerModuleEmulator::replyTimes(Clock::time_point since) const
{
    return replyLine_.replyTimes(since);
}

size_t PowerModuleEmulator::badFrames() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return badFrames_;
}
}
