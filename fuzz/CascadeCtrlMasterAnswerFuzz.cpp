// Feeds arbitrary bytes as a slave's answer payload (the first byte picks
// the code) to the master's answer parser of that code; what a parser takes
// its processor turns into a manage-control reply, a web answer and, for
// the poll answers, a slave record (slave 1 exists).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "FuzzBoard.h"
#include "GlobalData.h"
#include "cascade/processor/CascadeCtrlDataParser.h"
#include "cascade/processor/CascadeCtrlDataParserTable.h"
#include "cascade/processor/CascadeCtrlMasterProcessor.h"
#include "cascade/processor/CascadeCtrlMasterProcessorFactory.h"
#include "cascade/processor/CascadeCtrlQueryTimeRelay.h"
#include "cascade/processor/CascadeCtrlSender.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"

namespace
{
using namespace CascadeCtrl;

class NullSender : public CascadeCtrlSender
{
public:
    void sendLocal(const void*, unsigned int) override {}
};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CascadeCtrlDataParserTable* parsers = [] {
        fuzz::useBoardRoot();
        muduo::Logger::setOutput([](const char*, int) {});
        GlobalData::getDevice().slaves[1].address = 1;
        GlobalData::getDevice().slaves[1].pollIndex = 1;
        auto* table = new CascadeCtrlDataParserTable;
        CascadeCtrlMasterProcessorFactory::addAnswerParsers(*table);
        return table;
    }();
    if (size == 0)
        return 0;
    std::shared_ptr<CascadeCtrlDataParser> parser = parsers->find(data[0]);
    if (!parser)
        return 0;
    muduo::net::Buffer payload;
    payload.append(data, size);
    std::shared_ptr<CascadeCtrlProcessor> processor;
    const bool taken = parser->parse(payload, processor);
    if (taken != (processor != nullptr) || payload.readableBytes() > size)
        __builtin_trap();
    if (!taken)
        return 0;
    processor->setAddress(1);
    for (CascadeRelayType type : {kCascadeRelayLocal, kCascadeRelayMgrCtrl, kCascadeRelayWeb})
    {
        auto relay = std::make_shared<CascadeCtrlQueryTimeRelay>(type);
        relay->setTargetAddress(1);
        relay->setSender(std::make_shared<NullSender>());
        processor->process(relay);
    }
    return 0;
}
