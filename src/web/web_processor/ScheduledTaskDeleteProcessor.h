#pragma once
#include <memory>
#include <vector>

#include "web/web_processor/WebCommandProcessor.h"
#include "web/web_processor/WebPacketBuilder.h"

class ScheduledTaskContainer;

namespace web
{
// Code 29: deletes all the listed tasks or, when one is not stored, none.
class ScheduledTaskDeleteProcessor final
    : public WebResultProcessor<std::shared_ptr<ScheduledTaskContainer>, std::vector<int>,
                                &WebPacketBuilder::buildDeleteScheduledTaskRetPacket>
{
public:
    using WebResultProcessor::WebResultProcessor;

    int work() override;
};
}
