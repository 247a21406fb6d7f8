#pragma once
#include <memory>

#include "DeviceRecords.h"
#include "web/web_processor/WebCommandProcessor.h"
#include "web/web_processor/WebPacketBuilder.h"

class ScheduledTaskContainer;

namespace web
{
// Code 28: rewrites the stored task of the same id, then re-arms it.
class ScheduledTaskUpdateProcessor final
    : public WebResultProcessor<std::shared_ptr<ScheduledTaskContainer>, _DeviceTask,
                                &WebPacketBuilder::buildUpdateScheduledTaskRetPacket>
{
public:
    using WebResultProcessor::WebResultProcessor;

    int work() override;
};
}
