#pragma once
#include "cascade/processor/CascadeCtrlQueryPortDelayRelay.h"
#include "muduo/base/Logging.h"
#include "web/web_parser/WebAddressedParser.h"
#include "web/web_processor/DevicePortDelayQueryProcessor.h"

namespace web
{
// Code 24: only "addr".
class DevicePortDelayQueryParser final
    : public WebAddressedParser<DevicePortDelayQueryParser, DevicePortDelayQueryProcessor,
                              CascadeCtrl::CascadeCtrlQueryPortDelayRelay>
{
private:
    friend WebAddressedParser;
    static bool read(const Value&, int addr, DevicePortDelayQueryProcessor&)
    {
        LOG_INFO << " addr:" << addr;
        return true;
    }
};
}
