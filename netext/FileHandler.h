#pragma once
#include <functional>
#include <memory>
#include <string>

#include "muduo/base/StringPiece.h"
#include "muduo/base/Timestamp.h"
#include "muduo/base/noncopyable.h"
#include "muduo/net/Buffer.h"

namespace muduo
{
namespace net
{
class Channel;
class EventLoop;
class FileHandler;

typedef std::shared_ptr<FileHandler> FileHandlerPtr;
typedef std::function<void(const FileHandlerPtr&, Buffer*, Timestamp)> FileMessageCallback;
typedef std::function<void(const FileHandlerPtr&)> FileWriteCompleteCallback;

void defaultFileMessageCallback(const FileHandlerPtr& handler, Buffer* buffer, Timestamp receiveTime);
// Opens path with flags | O_NONBLOCK | O_CLOEXEC; a failure ends the process.
int createFilefd(const char* path, int flags);

// A device file on the event loop with buffered, callback-driven I/O. Always
// held by a shared_ptr.
//
// Hang-up (the far side of a pty or FIFO went away, seen as POLLHUP, end of
// file or EIO): the handler logs it once and stops polling the descriptor, so
// it never spins. A handler that opened its file itself then closes it and
// tries to open the same path again every second until it succeeds, keeping
// its read state and pending output; a handler given a descriptor stays quiet.
// A plain file cannot be polled: it is read once when reading starts and
// written synchronously. Bytes a device cannot take yet (a partial write, or
// EAGAIN) wait in the output buffer, in order, until it is writable.
class FileHandler : noncopyable, public std::enable_shared_from_this<FileHandler>
{
public:
    FileHandler(EventLoop* loop, const char* path, int flags);
    FileHandler(EventLoop* loop, int fd);
    ~FileHandler();

    void setMessageCallback(FileMessageCallback cb) { messageCallback_ = std::move(cb); }
    void setWriteCompleteCallback(FileWriteCompleteCallback cb) { writeCompleteCallback_ = std::move(cb); }

    void startRead();
    void stopRead();
    void write(const void* data, int length);
    void write(const StringPiece& message);

    EventLoop* getLoop() const { return loop_; }
    int fd() const { return fd_; }
    bool isReading() const { return reading_; }
    // Bytes written to this handler that the file has not taken yet.
    size_t outputBytes() const { return outputBuffer_.readableBytes(); }
    // True between a hang-up and the successful reopen.
    bool hungUp() const { return hungUp_; }

    static const double kReopenInterval;

private:
    void setupChannel();
    void startReadInLoop();
    void stopReadInLoop();
    void writeInLoop(const void* data, size_t length);
    void writePlainFile(const char* data, size_t length);
    void readPlainFile();
    void handleRead(Timestamp receiveTime);
    void handleWrite();
    void handleHangup();
    void closeForReopen();
    void scheduleReopen();
    void tryReopen();
    void queueWriteComplete();

    EventLoop* loop_;
    int fd_;
    bool ownsFd_;
    std::string path_;
    int flags_;
    bool plainFile_;
    std::unique_ptr<Channel> channel_;
    bool reading_;
    bool hungUp_;
    bool reportedReopenFailure_;
    bool reportedClosedWrite_;
    Buffer inputBuffer_;
    Buffer outputBuffer_;
    FileMessageCallback messageCallback_;
    FileWriteCompleteCallback writeCompleteCallback_;
};
}  // namespace net
}  // namespace muduo
