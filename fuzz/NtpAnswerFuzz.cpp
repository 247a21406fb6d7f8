// NTP answers of any length and content: only a whole answer from the asked
// server gives a time, and nothing is read past the datagram. Nothing is
// sent: the answer is examined as the client examines it, without a request.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "NtpClient.h"
#include "muduo/net/Buffer.h"
#include "muduo/net/InetAddress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const muduo::net::InetAddress server(0x7F000001u, NtpClient::kPort);
    // The first byte picks the sender: the asked server or another one.
    const bool fromServer = size == 0 || (data[0] & 1) == 0;
    const muduo::net::InetAddress sender(fromServer ? 0x7F000001u : 0x7F000002u, NtpClient::kPort);
    muduo::net::Buffer answer;
    answer.append(reinterpret_cast<const char*>(data), size);
    long seconds = 0;
    const bool taken = NtpClient::answerTime(server, sender, answer, seconds);
    if (taken && (!fromServer || size < static_cast<size_t>(NtpClient::kPacketSize)))
        std::abort();
    return 0;
}
