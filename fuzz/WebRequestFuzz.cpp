// Web requests: whatever the datagram holds, the dispatcher and the parsers
// read only what is there, through the accessor of each value's own type.
#include <cstddef>
#include <cstdint>
#include <string>

#include "GlobalData.h"
#include "muduo/base/Logging.h"
#include "cascade/processor/CascadeCtrlRelay.h"
#include "muduo/net/Buffer.h"
#include "web/web_processor/DeviceListQueryProcessor.h"
#include "web/web_processor/DevicePortDelayQueryProcessor.h"
#include "web/web_processor/DeviceStatusQueryProcessor.h"
#include "web/web_processor/InputThresholdQueryProcessor.h"
#include "web/web_processor/NameQueryProcessor.h"
#include "web/web_processor/NtpServerQueryProcessor.h"
#include "web/web_processor/OutputThresholdQueryProcessor.h"
#include "web/web_processor/PingQueryProcessor.h"
#include "web/web_processor/PingTestStatusProcessor.h"
#include "web/web_processor/TempHumiThresholdQueryProcessor.h"
#include "web/web_processor/WebProcessorFactory.h"

namespace
{
// The processors that only read the record.
template <class... Query>
bool readsOnly(web::WebProcessor* processor)
{
    return (... || (dynamic_cast<Query*>(processor) != nullptr));
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static web::WebProcessorFactory* factory = [] {
        // Every dropped request writes a WARN line, whatever the level.
        muduo::Logger::setOutput([](const char*, int) {});
        // A master with a narrow and a wide slave, one not yet answered.
        _Device& device = GlobalData::getDevice();
        device.portCount = 8;
        device.isMaster = true;
        device.slaves[1].portCount = 8;
        device.slaves[1].valid = true;
        device.slaves[2].portCount = 48;
        device.slaves[2].valid = true;
        device.slaves[3].portCount = 16;
        return new web::WebProcessorFactory(nullptr);
    }();
    std::shared_ptr<web::WebProcessor> processor;
    const int result = factory->parseWebProcessor(std::string(reinterpret_cast<const char*>(data), size), processor);
    // Only processors that change nothing on the board run here; relays
    // write their payload.
    if (result == 1 &&
        readsOnly<web::DeviceListQueryProcessor, web::DeviceStatusQueryProcessor, web::OutputThresholdQueryProcessor,
                  web::InputThresholdQueryProcessor, web::DevicePortDelayQueryProcessor,
                  web::TempHumiThresholdQueryProcessor, web::NameQueryProcessor, web::NtpServerQueryProcessor,
                  web::PingQueryProcessor, web::PingTestStatusProcessor>(
            processor.get()))
    {
        std::string answer;
        processor->process(answer);
    }
    if (result == 2)
    {
        muduo::net::Buffer payload;
        processor->relay()->buildRequestData(payload);
    }
    return 0;
}
