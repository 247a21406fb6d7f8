#pragma once
#include <cstddef>
#include <cstdint>
#include <netinet/in.h>
#include <sys/types.h>

// Socket helpers the daemon adds to the event library's sockets:: set.
namespace muduo
{
namespace net
{
namespace sockets
{
// Non-blocking, close-on-exec sockets of the given family; abort on failure.
int createNonblockingTcpOrDie(sa_family_t family);
int createNonblockingUdpOrDie(sa_family_t family);
int createNonblockingRawOrDie(sa_family_t family);

// Datagram I/O. recvfrom's address area is a sockaddr_in6, which holds
// either family; sendto passes the length of the destination's family.
ssize_t recvfrom(int sockfd, void* buf, size_t count, struct sockaddr_in6* from);
ssize_t sendto(int sockfd, const void* buf, size_t count, const struct sockaddr* to);

// ip and port in host byte order.
void fromIpPort(uint32_t ip, uint16_t port, struct sockaddr_in* addr);
}  // namespace sockets
}  // namespace net
}  // namespace muduo
