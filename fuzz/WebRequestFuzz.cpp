// Web requests on a seeded board: whatever the datagram holds, the
// dispatcher and the parsers read only what is there, and every processor
// does its work (saves, switching, clock, tasks, ping, mail, reboot through
// the stand-ins) and answers one JSON object; a relay writes its payload.
#include <rapidjson/document.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "GlobalData.h"
#include "SeededBoard.h"
#include "cascade/processor/CascadeCtrlRelay.h"
#include "muduo/net/Buffer.h"
#include "web/web_parser/WebModules.h"
#include "web/web_processor/WebProcessor.h"
#include "web/web_processor/WebProcessorFactory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzz::SeededBoard* board = new fuzz::SeededBoard;
    static web::WebProcessorFactory* factory = [] {
        // A master with a narrow and a wide slave, one not yet answered.
        _Device& device = GlobalData::getDevice();
        device.isMaster = true;
        device.slaves[1].portCount = 8;
        device.slaves[1].valid = true;
        device.slaves[2].portCount = 48;
        device.slaves[2].valid = true;
        device.slaves[3].portCount = 16;
        return new web::WebProcessorFactory(web::WebModules(board->outlets, board->tasks, board->pings, board->ntp,
                                                            board->energy.get(), board->recorder));
    }();
    std::shared_ptr<web::WebProcessor> processor;
    const int result = factory->parseWebProcessor(std::string(reinterpret_cast<const char*>(data), size), processor);
    if (result == 1)
    {
        std::string answer;
        processor->process(answer);
        rapidjson::Document written;
        if (written.Parse(answer.c_str(), answer.size()).HasParseError() || !written.IsObject())
            __builtin_trap();
    }
    if (result == 2)
    {
        muduo::net::Buffer payload;
        processor->relay()->buildRequestData(payload);
    }
    processor.reset();
    board->afterInput();
    return 0;
}
