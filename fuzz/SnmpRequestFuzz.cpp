// SNMP agent requests: whatever the datagram holds, the dispatcher and the
// parsers read only what is there, and every processor they make writes a
// well-formed answer.
#include <cstddef>
#include <cstdint>
#include <rapidjson/document.h>

#include <string>

#include "GlobalData.h"
#include "muduo/base/Logging.h"
#include "snmp/processor/SnmpCascadeDeviceConfigGetProcessor.h"
#include "snmp/processor/SnmpOutletConfigGetProcessor.h"
#include "snmp/processor/SnmpProcessorFactory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static snmp::SnmpProcessorFactory* factory = [] {
        muduo::Logger::setOutput([](const char*, int) {});
        _Device& device = GlobalData::getDevice();
        device.portCount = 8;
        device.slaves[3].pollIndex = 1;
        device.slaves[3].deviceName = "Rack\x01\"";
        return new snmp::SnmpProcessorFactory(nullptr);
    }();
    const std::shared_ptr<snmp::SnmpProcessor> processor =
        factory->parseSnmpProcessor(std::string(reinterpret_cast<const char*>(data), size));
    if (!processor)
        return 0;
    std::string answer;
    // Only the processors that read the record alone run; the others answer
    // what their parser took from the request.
    if (dynamic_cast<snmp::SnmpOutletConfigGetProcessor*>(processor.get()) ||
        dynamic_cast<snmp::SnmpCascadeDeviceConfigGetProcessor*>(processor.get()))
        processor->process(answer);
    processor->buildResponseString(0, answer);
    rapidjson::Document written;
    if (written.Parse(answer.c_str(), answer.size()).HasParseError() || !written.IsObject())
        __builtin_trap();
    return 0;
}
