#pragma once
#include <functional>

namespace muduo
{
namespace net
{
class Buffer;
}
}

// One datagram on the name-service port, from query to answer: parse, check
// against the unit's name, log, and append the answer.
class NbnsResponder
{
public:
    // The unit's IPv4 address in host order, asked only for a matching query.
    using AddressSource = std::function<unsigned int()>;

    // True when an answer was appended to reply.
    static bool answer(const char* data, int length, const unsigned char* nbName, unsigned char nbLength,
                       const AddressSource& address, muduo::net::Buffer& reply);
};
