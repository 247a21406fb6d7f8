#include "muduo/net/Buffer.h"

#include <cstring>

#include "muduo/net/InetAddress.h"
#include "netext/SocketsExt.h"

#include <cerrno>
#include <sys/uio.h>

namespace muduo
{
namespace net
{
const char Buffer::kCRLF[] = "\r\n";
const size_t Buffer::kCheapPrepend;
const size_t Buffer::kInitialSize;

const char* Buffer::findCRLF(const char* start) const
{
    assert(peek() <= start && start <= beginWrite());
    const char* crlf = std::search(start, beginWrite(), kCRLF, kCRLF + 2);
    return crlf == beginWrite() ? nullptr : crlf;
}

const char* Buffer::findEOL(const char* start) const
{
    assert(peek() <= start && start <= beginWrite());
    const void* eol = ::memchr(start, '\n', static_cast<size_t>(beginWrite() - start));
    return static_cast<const char*>(eol);
}

void Buffer::retrieve(size_t len)
{
    assert(len <= readableBytes());
    if (len < readableBytes())
        readerIndex_ += len;
    else
        retrieveAll();
}

std::string Buffer::retrieveAsString(size_t len)
{
    assert(len <= readableBytes());
    std::string result(peek(), len);
    retrieve(len);
    return result;
}

void Buffer::shrink(size_t reserve)
{
    Buffer other;
    other.ensureWritableBytes(readableBytes() + reserve);
    other.append(toStringPiece());
    swap(other);
}

void Buffer::makeSpace(size_t len)
{
    if (writableBytes() + prependableBytes() < len + kCheapPrepend)
    {
        buffer_.resize(writerIndex_ + len);
    }
    else
    {
        // Enough room in total: move the readable bytes to the front.
        assert(kCheapPrepend < readerIndex_);
        size_t readable = readableBytes();
        std::copy(begin() + readerIndex_, begin() + writerIndex_, begin() + kCheapPrepend);
        readerIndex_ = kCheapPrepend;
        writerIndex_ = readerIndex_ + readable;
        assert(readable == readableBytes());
    }
}

ssize_t Buffer::readFd(int fd, int* savedErrno)
{
    // The stack buffer lets one call drain up to 64 KiB without growing a
    // buffer that usually receives little.
    char extrabuf[65536];
    struct iovec vec[2];
    const size_t writable = writableBytes();
    vec[0].iov_base = begin() + writerIndex_;
    vec[0].iov_len = writable;
    vec[1].iov_base = extrabuf;
    vec[1].iov_len = sizeof extrabuf;
    const int iovcnt = (writable < sizeof extrabuf) ? 2 : 1;
    const ssize_t n = ::readv(fd, vec, iovcnt);
    if (n < 0)
    {
        *savedErrno = errno;
    }
    else if (static_cast<size_t>(n) <= writable)
    {
        writerIndex_ += static_cast<size_t>(n);
    }
    else
    {
        writerIndex_ = buffer_.size();
        append(extrabuf, static_cast<size_t>(n) - writable);
    }
    return n;
}
ssize_t Buffer::readFromFd(int fd, InetAddress& peer, int* savedErrno)
{
    char extrabuf[65536];
    struct sockaddr_in6 from;
    ::memset(&from, 0, sizeof from);
    const ssize_t n = sockets::recvfrom(fd, extrabuf, sizeof extrabuf, &from);
    if (n < 0)
    {
        *savedErrno = errno;
        return n;
    }
    peer.setSockAddr(*reinterpret_cast<const struct sockaddr_in*>(&from));
    append(extrabuf, static_cast<size_t>(n));
    return n;
}
}  // namespace net
}  // namespace muduo
