#pragma once
#include "cascade/processor/CascadeCtrlQueryPortDelayRelay.h"
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/DevicePortDelayQueryProcessor.h"

namespace web
{
// Code 24: only "addr".
class DevicePortDelayQueryParser final
    : public WebCommandParser<DevicePortDelayQueryParser, DevicePortDelayQueryProcessor,
                              WebQuietSlaveRelays<CascadeCtrl::CascadeCtrlQueryPortDelayRelay>>
{
public:
    using WebCommandParser::WebCommandParser;

    static bool read(const Value&, int addr, WebNoFields&)
    {
        LOG_INFO << " addr:" << addr;
        return true;
    }
};
}
