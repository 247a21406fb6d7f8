#include "NbnsResponder.h"

#include <cstdio>
#include <string>

#include "NbnsPacket.h"
#include "muduo/base/Logging.h"

bool NbnsResponder::answer(const char* data, int length, const unsigned char* nbName, unsigned char nbLength,
                           const AddressSource& address, muduo::net::Buffer& reply)
{
    unsigned short transactionId = 0, type = 0, cls = 0;
    std::string name;
    if (!NbnsPacket::parseNbNsPacket(data, length, transactionId, name, type, cls))
        return false;
    if (!NbnsPacket::validatePacket(name, nbName, nbLength, type, cls))
        return false;
    char id[8], t[8], c[8];
    ::snprintf(id, sizeof id, "0x%04X", transactionId);
    ::snprintf(t, sizeof t, "0x%04X", type);
    ::snprintf(c, sizeof c, "0x%04X", cls);
    LOG_INFO << "transaction id:" << id << " nbns name:" << name.c_str() << " type:" << t << " cls:" << c;
    NbnsPacket::buildNbNsRespPacket(reply, transactionId, nbName, nbLength, address ? address() : 0);
    return true;
}
