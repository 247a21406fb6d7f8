#pragma once
#include "web/web_parser/WebModules.h"
#include "web/web_processor/WebCommandProcessor.h"

struct _SlaveDevice;

namespace web
{
// Code 23: the inlet limits of this unit (address 0) or, from the master's
// records, of a slave; -1 when there is no such record. The fields are the
// address.
class InputThresholdQueryProcessor final : public WebCommandProcessor<WebNoModule, int>
{
public:
    using WebCommandProcessor::WebCommandProcessor;

    int work() override;
    bool buildResponseString(int result, std::string& response) override;

private:
    const _SlaveDevice* slave_ = nullptr;  // the record work found
};
}
