// NTP answers of any length and content: only a whole answer from the asked
// server may set the clock, and nothing is read past the datagram.
#include <cstddef>
#include <cstdint>

#include "NtpClient.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"
#include "muduo/net/EventLoop.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static muduo::net::EventLoop* loop = [] {
        muduo::Logger::setLogLevel(muduo::Logger::FATAL);
        return new muduo::net::EventLoop;
    }();
    static NtpClient* client = [] {
        auto* c = new NtpClient(loop);
        c->setServerIp(muduo::net::InetAddress(0x7F000001u, NtpClient::kPort));
        c->setGotTimeCallback([](long) {});
        c->setErrorCallback([] {});
        return c;
    }();
    // The first byte picks the sender: the asked server or another one.
    const bool fromServer = size == 0 || (data[0] & 1) == 0;
    client->request();  // a waiting request, so the answer is examined
    muduo::net::Buffer answer;
    answer.append(reinterpret_cast<const char*>(data), size);
    client->onNtpRespCallback(muduo::net::InetAddress(fromServer ? 0x7F000001u : 0x7F000002u, NtpClient::kPort),
                              &answer);
    return 0;
}
