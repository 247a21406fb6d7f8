#pragma once
#include <functional>
#include <memory>

#include "muduo/base/noncopyable.h"
#include "muduo/net/InetAddress.h"
#include "netext/UdpTranceiver.h"

class PduTimer;

// One NTP request at a time over an unbound UDP socket: sends the 48-byte
// client request to the server and reports the transmit time of the answer,
// a 5.0 s time-out, or an answer that does not qualify.
class NtpClient : muduo::noncopyable
{
public:
    static const int kPacketSize = 48;
    static const uint16_t kPort = 123;

    typedef std::function<void(long)> GotTimeCallback;
    typedef std::function<void()> EventCallback;

    explicit NtpClient(muduo::net::EventLoop* loop);
    ~NtpClient();

    void setServerIp(const muduo::net::InetAddress& server) { server_ = server; }
    void setGotTimeCallback(GotTimeCallback cb) { gotTimeCallback_ = std::move(cb); }
    void setTimeoutCallback(EventCallback cb) { timeoutCallback_ = std::move(cb); }
    void setErrorCallback(EventCallback cb) { errorCallback_ = std::move(cb); }

    void startRead();
    // False, with nothing sent, while no server address is set.
    bool request();
    int status() const { return status_; }

    void onTimeout(const std::shared_ptr<PduTimer>& timer);
    void onNtpRespCallback(const muduo::net::InetAddress& sender, muduo::net::Buffer* buffer);

    // Unix seconds of an answer's transmit time (counted from 1900, modulo 2^32).
    static long transmitSeconds(uint32_t ntpSeconds);
    // The transmit time of a whole answer from server, in Unix seconds;
    // false for a short one or one from another sender.
    static bool answerTime(const muduo::net::InetAddress& server, const muduo::net::InetAddress& sender,
                           const muduo::net::Buffer& answer, long& seconds);

private:
    void init();

    unsigned char request_[kPacketSize];
    muduo::net::InetAddress server_;
    muduo::net::UdpTranceiverPtr tranceiver_;
    std::shared_ptr<PduTimer> timer_;
    int status_;
    GotTimeCallback gotTimeCallback_;
    EventCallback timeoutCallback_;
    EventCallback errorCallback_;
};
