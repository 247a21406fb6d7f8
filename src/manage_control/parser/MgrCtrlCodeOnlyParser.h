#pragma once
#include "manage_control/parser/MgrCtrlDataParser.h"
#include "muduo/net/Buffer.h"

namespace MgrCtrl
{
// The commands that are their code byte alone (discovery, device list):
// nothing after it is read, not even the address, and nothing is relayed.
template <class Processor>
class MgrCtrlCodeOnlyParser : public MgrCtrlDataParser
{
public:
    int parse(muduo::net::Buffer& data, std::shared_ptr<MgrCtrlProcessor>& processor) override
    {
        if (data.readableBytes() == 0)
            return kMalformed;
        data.retrieve(1);
        processor = std::make_shared<Processor>();
        return kLocal;
    }
};
}
