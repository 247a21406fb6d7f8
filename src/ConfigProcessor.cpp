#include "ConfigProcessor.h"

#include "ConfigPacketBuilder.h"
#include "GlobalData.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"
#include "muduo/net/InetAddress.h"

bool ConfigProcessor::process(const muduo::net::InetAddress& peer, const char* data, int length,
                              muduo::Timestamp time, muduo::net::Buffer* reply)
{
    const uint64_t sender = static_cast<uint64_t>(peer.ipHostEndian()) << 16 | peer.portHostEndian();
    ConfigParser* parser = parserOf(sender, time);
    if (!parser)
    {
        LOG_INFO << "config port busy, datagram of " << peer.toIpPort() << " dropped";
        return false;
    }
    parser->parsePacket(data, length, time);
    unsigned char code = 0;
    if (!parser->hasParsedPacket(code))
        return false;
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
// after a clock step back), then finds or makes this sender's.
ConfigParser* ConfigProcessor::parserOf(uint64_t sender, muduo::Timestamp time)
{
    for (auto it = parsers_.begin(); it != parsers_.end();)
    {
        const double idle = timeDifference(time, it->second->lastChunk());
        if (idle >= ConfigParser::kResetSeconds || idle < 0)
            it = parsers_.erase(it);
        else
            ++it;
    }
    auto found = parsers_.find(sender);
    if (found != parsers_.end())
        return found->second.get();
    if (parsers_.size() >= kMaxSenders)
        return nullptr;
    return parsers_.emplace(sender, std::make_unique<ConfigParser>()).first->second.get();
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
