#pragma once
#include "cascade/processor/CascadeCtrlQueryTempHumThresholdRelay.h"
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/TempHumiThresholdQueryProcessor.h"

namespace web
{
// Code 25: only "addr".
class TempHumiThresholdQueryParser final
    : public WebCommandParser<TempHumiThresholdQueryParser, TempHumiThresholdQueryProcessor,
                              WebQuietSlaveRelays<CascadeCtrl::CascadeCtrlQueryTempHumThresholdRelay>>
{
public:
    using WebCommandParser::WebCommandParser;

    // A slave is asked for both pairs, temperature and humidity.
    static bool fill(const WebNoFields&, CascadeCtrl::CascadeCtrlPairSelectionRequest& request)
    {
        request.mask = 0x03;
        return true;
    }
};
}
