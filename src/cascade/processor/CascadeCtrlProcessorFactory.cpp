#include "cascade/processor/CascadeCtrlProcessorFactory.h"

#include "cascade/processor/CascadeCtrlDataParser.h"
#include "cascade/processor/CascadeCtrlProcessor.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"

namespace CascadeCtrl
{
CascadeCtrlProcessorFactory::CascadeCtrlProcessorFactory(muduo::net::EventLoop* loop,
                                                         const std::shared_ptr<SerialPort>& serialPort)
    : serialPort_(serialPort), address_(0), packetParser_(loop)
{
}

CascadeCtrlProcessorFactory::~CascadeCtrlProcessorFactory() = default;

void CascadeCtrlProcessorFactory::processCascadeCtrlPacket(const char* data, int length)
{
    muduo::net::Buffer payload;
    int frameAddress = 0, sequence = 0;
    const int result = packetParser_.parse(data, length, frameAddress, sequence, payload);
    if (result == 1)
    {
        const int pending = packetParser_.pendingAddress();
        if (pending >= 0)
            onFrameProgress(pending);
        return;
    }
    if (result != 0)
    {
        LOG_WARN << "parse error";
        return;
    }
    if (frameAddress != address_)
        return;
    const unsigned char code = payload.readableBytes() > 0 ? static_cast<unsigned char>(*payload.peek()) : 0;
    std::shared_ptr<CascadeCtrlDataParser> parser = getDataParser(code);
    if (!parser)
    {
        LOG_WARN << "no data parser";
        return;
    }
    std::shared_ptr<CascadeCtrlProcessor> processor;
    if (!parser->parse(payload, processor))
    {
        LOG_WARN << "parse cascade ctrl data error";
        return;
    }
    if (!processor)
        return;
    processor->setAddress(frameAddress);
    process(processor, sequence);
}
}
