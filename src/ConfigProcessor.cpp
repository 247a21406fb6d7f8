#include "ConfigProcessor.h"

#include "ConfigPacketBuilder.h"
#include "GlobalData.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"

bool ConfigProcessor::process(const char* data, int length, muduo::Timestamp time, muduo::net::Buffer* reply)
{
    parser_.parsePacket(data, length, time);
    unsigned char code = 0;
    if (!parser_.hasParsedPacket(code))
        return false;
    bool saved = false;
    bool known = saveFrame(code, saved);
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
    parser_.popParsedPacket();
    return known && reply;
}

// False for a code this port does not know. A frame too short for the fields
// of its code is not saved (saved stays false).
bool ConfigProcessor::saveFrame(unsigned char code, bool& saved)
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
        complete = parser_.getUid(uid);
        saved = complete && GlobalData::saveUidToDb(uid);
        break;
    case ConfigPacketBuilder::kSetUidExt:
        complete = parser_.getUid(uid, deviceName, netbiosName);
        saved = complete && GlobalData::saveUidExtToDb(uid, deviceName, netbiosName);
        break;
    case ConfigPacketBuilder::kSetMac:
        complete = parser_.getMac(&unused, mac);
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
