#pragma once
#include "cascade/processor/CascadeCtrlQueryTempHumThresholdRelay.h"
#include "web/web_parser/WebAddressedParser.h"
#include "web/web_processor/TempHumiThresholdQueryProcessor.h"

namespace web
{
// Code 25: only "addr".
class TempHumiThresholdQueryParser final
    : public WebAddressedParser<TempHumiThresholdQueryParser, TempHumiThresholdQueryProcessor,
                              CascadeCtrl::CascadeCtrlQueryTempHumThresholdRelay>
{
private:
    friend WebAddressedParser;
    // A slave is asked for both pairs, temperature and humidity.
    static void fill(CascadeCtrl::CascadeCtrlPairSelectionRequest& request, const TempHumiThresholdQueryProcessor&)
    {
        request.mask = 0x03;
    }
};
}
