#include "ConfigProcessor.h"

#include "ConfigPacketBuilder.h"
#include "GlobalData.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"

namespace
{
uint64_t senderOf(const muduo::net::InetAddress& peer)
{
    return static_cast<uint64_t>(peer.ipHostEndian()) << 16 | peer.portHostEndian();
}
}

bool ConfigProcessor::process(const muduo::net::InetAddress& peer, const char* data, int length,
                              muduo::Timestamp time, muduo::net::Buffer* reply)
{
    Place& place = placeOf(peer, time);
    ConfigParser* parser = place.parser.get();
    parser->parsePacket(data, length, time);
    unsigned char code = 0;
    if (!parser->hasParsedPacket(code))
        return false;
    place.used = time;
    bool saved = false;
    bool known = saveFrame(*parser, code, saved);
    if (known && reply)
    {
        unsigned char out[ConfigPacketBuilder::kReplySize];
        unsigned char result = saved ? 0 : 1;
        int n = -1;
        if (code == ConfigPacketBuilder::kSetMac)
            n = ConfigPacketBuilder::buildSetMacRetPacket(out, sizeof out, result, nullptr);
        else if (code == ConfigPacketBuilder::kSetUid)
            n = ConfigPacketBuilder::buildSetUidRetPacket(out, sizeof out, result, nullptr);
        else
            n = ConfigPacketBuilder::buildSetUidExtRetPacket(out, sizeof out, result, nullptr);
        reply->append(out, static_cast<size_t>(n));
    }
    parser->popParsedPacket();
    return known && reply;
}

bool ConfigProcessor::process(const char* data, int length, muduo::Timestamp time, muduo::net::Buffer* reply)
{
    return process(muduo::net::InetAddress(static_cast<uint16_t>(0)), data, length, time, reply);
}

// Drops the reassemblers of senders silent for the reset time (or stamped
// after a clock step back), then finds or makes this sender's place.
ConfigProcessor::Place& ConfigProcessor::placeOf(const muduo::net::InetAddress& peer, muduo::Timestamp time)
{
    for (auto it = parsers_.begin(); it != parsers_.end();)
    {
        const double idle = timeDifference(time, it->second.parser->lastChunk());
        if (idle >= ConfigParser::kResetSeconds || idle < 0)
            it = parsers_.erase(it);
        else
            ++it;
    }
    const uint64_t sender = senderOf(peer);
    auto found = parsers_.find(sender);
    if (found != parsers_.end())
        return found->second;
    if (parsers_.size() >= kMaxSenders)
    {
        auto unused = parsers_.begin();
        for (auto it = parsers_.begin(); it != parsers_.end(); ++it)
            if (it->second.used < unused->second.used)
                unused = it;
        LOG_WARN << "config port busy: the place of " << unused->second.peer.toIpPort() << " given to "
                 << peer.toIpPort() << ", its partial frame dropped";
        parsers_.erase(unused);
    }
    return parsers_[sender] = Place{std::make_unique<ConfigParser>(), time, peer};
}

// False for a code this port does not know. A frame too short for the fields
// of its code is not saved (saved stays false).
bool ConfigProcessor::saveFrame(const ConfigParser& parser, unsigned char code, bool& saved)
{
    char uid[ConfigParser::kTextSize + 1];
    char deviceName[ConfigParser::kTextSize + 1];
    char netbiosName[ConfigParser::kTextSize + 1];
    char mac[6];
    int unused = 0;
    bool complete = false;
    switch (code)
    {
    case ConfigPacketBuilder::kSetUid:
        complete = parser.getUid(uid);
        saved = complete && GlobalData::saveUidToDb(uid);
        break;
    case ConfigPacketBuilder::kSetUidExt:
        complete = parser.getUid(uid, deviceName, netbiosName);
        saved = complete && GlobalData::saveUidExtToDb(uid, deviceName, netbiosName);
        break;
    case ConfigPacketBuilder::kSetMac:
        complete = parser.getMac(&unused, mac);
        saved = complete && GlobalData::saveMacToDb(mac);
        break;
    default:
        LOG_INFO << "config code " << static_cast<int>(code) << " not supported";
        return false;
    }
    if (!complete)
        LOG_INFO << "config frame too short for code " << static_cast<int>(code);
    return true;
}
