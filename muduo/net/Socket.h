#pragma once
#include "muduo/base/noncopyable.h"

namespace muduo
{
namespace net
{
class InetAddress;

// Owns a socket descriptor and closes it on destruction.
class Socket : noncopyable
{
public:
    explicit Socket(int sockfd) : sockfd_(sockfd) {}
    ~Socket();

    int fd() const { return sockfd_; }

    // Abort when the address is in use.
    void bindAddress(const InetAddress& localaddr);
    void listen();
    // A non-blocking, close-on-exec descriptor with peeraddr set, or -1.
    int accept(InetAddress* peeraddr);

    void shutdownWrite();
    void setTcpNoDelay(bool on);
    void setReuseAddr(bool on);
    void setReusePort(bool on);
    void setKeepAlive(bool on);
    // SO_RCVBUF / SO_SNDBUF; a get returns -1 when getsockopt fails.
    void setReadBufSize(int size);
    int getReadBufSize() const;
    void setWriteBufSize(int size);
    int getWriteBufSize() const;

private:
    const int sockfd_;
};
}  // namespace net
}  // namespace muduo
