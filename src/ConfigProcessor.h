#pragma once
#include <cstdint>
#include <map>
#include <memory>

#include "ConfigParser.h"
#include "muduo/base/Timestamp.h"
#include "muduo/base/noncopyable.h"
#include "muduo/net/InetAddress.h"

namespace muduo
{
namespace net
{
class Buffer;
}
}

// The factory config port: stores the MAC address, the identity text, or the
// identity text with the unit name and NetBIOS name, in pdu.db and then in
// pdu_default.db, and answers each frame with a 20-byte reply. Every sender
// has a reassembler of its own, so each frame is answered to the peer that
// sent it; a sender's reassembler is dropped after the reset time of silence.
class ConfigProcessor : muduo::noncopyable
{
public:
    // Senders with a reassembler at once. With every place taken, a new
    // sender gets the place unused the longest (given, or last completing a
    // frame, the longest ago), so senders that never complete a frame cannot
    // keep one from a sender that does.
    static constexpr size_t kMaxSenders = 64;

    // Feeds one datagram of peer; answers at most that sender's oldest whole
    // frame. True when a reply was appended.
    bool process(const muduo::net::InetAddress& peer, const char* data, int length, muduo::Timestamp time,
                 muduo::net::Buffer* reply);
    // The same for a single unnamed sender.
    bool process(const char* data, int length, muduo::Timestamp time, muduo::net::Buffer* reply);

    size_t senders() const { return parsers_.size(); }

private:
    struct Place
    {
        std::unique_ptr<ConfigParser> parser;
        muduo::Timestamp used;  // given, or last completing a frame
        muduo::net::InetAddress peer;
    };

    Place& placeOf(const muduo::net::InetAddress& peer, muduo::Timestamp time);
    static bool saveFrame(const ConfigParser& parser, unsigned char code, bool& saved);

    std::map<uint64_t, Place> parsers_;
};
