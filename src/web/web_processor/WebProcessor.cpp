#include "web/web_processor/WebProcessor.h"

#include "cascade/processor/CascadeCtrlRelay.h"

namespace web
{
WebProcessor::WebProcessor() = default;

WebProcessor::~WebProcessor() = default;

bool WebProcessor::process(std::string& response)
{
    return buildResponseString(work(), response);
}
}
