#include "netext/FileHandler.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "muduo/base/Logging.h"
#include "muduo/net/Channel.h"
#include "muduo/net/EventLoop.h"

namespace muduo
{
namespace net
{
namespace
{
EventLoop* checkNotNull(EventLoop* loop)
{
    if (loop == nullptr)
        LOG_FATAL << "'loop' Must be non NULL";
    return loop;
}

// The device cannot take more just now; the bytes wait for it.
bool deviceBusy(int error) { return error == EAGAIN || error == EWOULDBLOCK || error == EINTR; }

bool isPlainFile(int fd)
{
    struct stat st;
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}
}

const double FileHandler::kReopenInterval = 1.0;

void defaultFileMessageCallback(const FileHandlerPtr&, Buffer* buffer, Timestamp) { buffer->retrieveAll(); }

int createFilefd(const char* path, int flags)
{
    int fd = path ? ::open(path, flags | O_NONBLOCK | O_CLOEXEC) : -1;
    if (fd < 0)
    {
        if (!path)
            errno = EINVAL;
        LOG_SYSFATAL << "Failed in open " << (path ? path : "(null)");
    }
    return fd;
}

FileHandler::FileHandler(EventLoop* loop, const char* path, int flags)
    : loop_(checkNotNull(loop)), fd_(createFilefd(path, flags)), ownsFd_(true), path_(path ? path : ""), flags_(flags),
      plainFile_(isPlainFile(fd_)), reading_(false), hungUp_(false), reportedReopenFailure_(false),
      reportedClosedWrite_(false), messageCallback_(defaultFileMessageCallback)
{
    setupChannel();
}

FileHandler::FileHandler(EventLoop* loop, int fd)
    : loop_(checkNotNull(loop)), fd_(fd), ownsFd_(false), flags_(0), plainFile_(isPlainFile(fd)), reading_(false),
      hungUp_(false), reportedReopenFailure_(false), reportedClosedWrite_(false),
      messageCallback_(defaultFileMessageCallback)
{
    setupChannel();
}

FileHandler::~FileHandler()
{
    if (channel_)
    {
        if (!channel_->isNoneEvent())
            channel_->disableAll();
        if (loop_->hasChannel(channel_.get()))
            channel_->remove();
    }
    if (ownsFd_ && fd_ >= 0)
        ::close(fd_);
}

void FileHandler::setupChannel()
{
    // The poller refuses plain files; they are served without a channel.
    if (plainFile_)
        return;
    channel_.reset(new Channel(loop_, fd_));
    channel_->setReadCallback([this](Timestamp t) { handleRead(t); });
    channel_->setWriteCallback([this] { handleWrite(); });
    channel_->setCloseCallback([this] { handleHangup(); });
    channel_->doNotLogHup();
}

void FileHandler::startRead()
{
    FileHandlerPtr self(shared_from_this());
    loop_->runInLoop([self] { self->startReadInLoop(); });
}

void FileHandler::stopRead()
{
    FileHandlerPtr self(shared_from_this());
    loop_->runInLoop([self] { self->stopReadInLoop(); });
}

void FileHandler::startReadInLoop()
{
    loop_->assertInLoopThread();
    if (plainFile_)
    {
        if (!reading_)
        {
            std::weak_ptr<FileHandler> weak(shared_from_this());
            loop_->queueInLoop([weak] {
                if (FileHandlerPtr self = weak.lock())
                    self->readPlainFile();
            });
        }
    }
    else if (channel_ && !hungUp_ && (!reading_ || !channel_->isReading()))
    {
        channel_->enableReading();
    }
    reading_ = true;
}

void FileHandler::stopReadInLoop()
{
    loop_->assertInLoopThread();
    if (channel_ && !hungUp_ && (reading_ || channel_->isReading()))
        channel_->disableReading();
    reading_ = false;
}

void FileHandler::write(const void* data, int length)
{
    if (length <= 0 || data == nullptr)
        return;
    if (loop_->isInLoopThread())
    {
        writeInLoop(data, static_cast<size_t>(length));
    }
    else
    {
        FileHandlerPtr self(shared_from_this());
        std::string copy(static_cast<const char*>(data), static_cast<size_t>(length));
        loop_->runInLoop([self, copy] { self->writeInLoop(copy.data(), copy.size()); });
    }
}

void FileHandler::write(const StringPiece& message) { write(message.data(), message.size()); }

void FileHandler::writeInLoop(const void* data, size_t length)
{
    loop_->assertInLoopThread();
    const char* bytes = static_cast<const char*>(data);
    if (fd_ < 0)
    {
        if (!reportedClosedWrite_)
            LOG_ERROR << "FileHandler::writeInLoop " << path_ << " is closed after a hang-up, output dropped";
        reportedClosedWrite_ = true;
        return;
    }
    if (plainFile_)
    {
        writePlainFile(bytes, length);
        return;
    }
    size_t written = 0;
    if (!channel_->isWriting() && outputBuffer_.readableBytes() == 0)
    {
        ssize_t n = ::write(fd_, bytes, length);
        if (n < 0 && !deviceBusy(errno))
        {
            LOG_SYSERR << "FileHandler::writeInLoop";
            return;
        }
        // A device momentarily full takes the bytes later, as after a partial write.
        written = n < 0 ? 0 : static_cast<size_t>(n);
        if (written == length)
        {
            queueWriteComplete();
            return;
        }
    }
    outputBuffer_.append(bytes + written, length - written);
    if (!channel_->isWriting() && !hungUp_)
        channel_->enableWriting();
}

void FileHandler::writePlainFile(const char* data, size_t length)
{
    while (length > 0)
    {
        ssize_t n = ::write(fd_, data, length);
        if (n <= 0)
        {
            LOG_SYSERR << "FileHandler::writeInLoop";
            return;
        }
        data += n;
        length -= static_cast<size_t>(n);
    }
    queueWriteComplete();
}

void FileHandler::queueWriteComplete()
{
    if (writeCompleteCallback_)
    {
        FileHandlerPtr self(shared_from_this());
        loop_->queueInLoop([self] {
            if (self->writeCompleteCallback_)
                self->writeCompleteCallback_(self);
        });
    }
}

void FileHandler::readPlainFile()
{
    if (!reading_ || fd_ < 0)
        return;
    int savedErrno = 0;
    ssize_t total = 0;
    ssize_t n;
    while ((n = inputBuffer_.readFd(fd_, &savedErrno)) > 0)
        total += n;
    if (n < 0)
    {
        errno = savedErrno;
        LOG_SYSERR << "FileHandler::handleRead";
    }
    if (total > 0)
        messageCallback_(shared_from_this(), &inputBuffer_, Timestamp::now(false));
}

void FileHandler::handleRead(Timestamp receiveTime)
{
    loop_->assertInLoopThread();
    int savedErrno = 0;
    ssize_t n = inputBuffer_.readFd(fd_, &savedErrno);
    if (n > 0)
    {
        messageCallback_(shared_from_this(), &inputBuffer_, receiveTime);
    }
    else if (n == 0)
    {
        // A readable descriptor with nothing to read: the far side is gone.
        handleHangup();
    }
    else if (savedErrno != EAGAIN && savedErrno != EINTR)
    {
        errno = savedErrno;
        LOG_SYSERR << "FileHandler::handleRead";
        if (savedErrno == EIO)
            handleHangup();
    }
}

void FileHandler::handleWrite()
{
    loop_->assertInLoopThread();
    if (!channel_->isWriting())
    {
        LOG_TRACE << "file fd = " << fd_ << " is down, no more writing";
        return;
    }
    ssize_t n = ::write(fd_, outputBuffer_.peek(), outputBuffer_.readableBytes());
    if (n <= 0)
    {
        if (n == 0 || !deviceBusy(errno))
            LOG_SYSERR << "FileHandler::handleWrite";
        return;
    }
    outputBuffer_.retrieve(static_cast<size_t>(n));
    if (outputBuffer_.readableBytes() == 0)
    {
        channel_->disableWriting();
        queueWriteComplete();
    }
}

void FileHandler::handleHangup()
{
    if (hungUp_ || !channel_)
        return;
    hungUp_ = true;
    // Level-triggered polling would report the hang-up forever: stop polling.
    channel_->disableAll();
    if (!ownsFd_ || path_.empty())
    {
        LOG_WARN << "FileHandler: hang-up on fd " << fd_ << ", polling stopped";
        return;
    }
    LOG_WARN << "FileHandler: hang-up on " << path_ << ", reopening";
    // The channel may be inside its own event dispatch: replace it later.
    std::weak_ptr<FileHandler> weak(shared_from_this());
    loop_->queueInLoop([weak] {
        if (FileHandlerPtr self = weak.lock())
            self->closeForReopen();
    });
}

void FileHandler::closeForReopen()
{
    if (channel_)
    {
        if (loop_->hasChannel(channel_.get()))
            channel_->remove();
        channel_.reset();
    }
    ::close(fd_);
    fd_ = -1;
    reportedReopenFailure_ = false;
    reportedClosedWrite_ = false;
    scheduleReopen();
}

void FileHandler::scheduleReopen()
{
    std::weak_ptr<FileHandler> weak(shared_from_this());
    loop_->runAfter(kReopenInterval, [weak] {
        if (FileHandlerPtr self = weak.lock())
            self->tryReopen();
    });
}

void FileHandler::tryReopen()
{
    int fd = ::open(path_.c_str(), flags_ | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
    {
        if (!reportedReopenFailure_)
            LOG_SYSERR << "FileHandler: cannot reopen " << path_ << ", retrying";
        reportedReopenFailure_ = true;
        scheduleReopen();
        return;
    }
    fd_ = fd;
    plainFile_ = isPlainFile(fd_);
    hungUp_ = false;
    setupChannel();
    LOG_WARN << "FileHandler: reopened " << path_;
    if (plainFile_)
    {
        if (reading_)
        {
            reading_ = false;
            startReadInLoop();
        }
        return;
    }
    if (reading_)
        channel_->enableReading();
    if (outputBuffer_.readableBytes() > 0)
        channel_->enableWriting();
}
}  // namespace net
}  // namespace muduo
