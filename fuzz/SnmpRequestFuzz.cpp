// SNMP agent requests on a seeded board: whatever the datagram holds, the
// dispatcher and the parsers read only what is there, and every processor
// does its work (saves, switching, reboot through the stand-in) and writes
// a well-formed answer.
#include <rapidjson/document.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "GlobalData.h"
#include "SeededBoard.h"
#include "snmp/processor/SnmpProcessor.h"
#include "snmp/processor/SnmpProcessorFactory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzz::SeededBoard* board = new fuzz::SeededBoard;
    static snmp::SnmpProcessorFactory* factory = [] {
        _Device& device = GlobalData::getDevice();
        device.isMaster = true;
        device.slaves[3].pollIndex = 1;
        device.slaves[3].deviceName = "Rack\x01\"";
        device.slaves[5].pollIndex = 2;
        device.slaves[5].valid = true;
        device.slaves[5].portCount = 48;
        return new snmp::SnmpProcessorFactory(board->outlets);
    }();
    const std::shared_ptr<snmp::SnmpProcessor> processor =
        factory->parseSnmpProcessor(std::string(reinterpret_cast<const char*>(data), size));
    if (processor)
    {
        std::string answer;
        processor->process(answer);
        rapidjson::Document written;
        if (written.Parse(answer.c_str(), answer.size()).HasParseError() || !written.IsObject())
            __builtin_trap();
    }
    board->afterInput();
    return 0;
}
