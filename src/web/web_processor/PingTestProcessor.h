#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "web/web_processor/WebCommandProcessor.h"
#include "web/web_processor/WebPacketBuilder.h"

class PingTaskContainer;

namespace web
{
// One ping test: the outlet and the host, as text and in host byte order.
struct _PingTest
{
    int port = 0;
    std::string host;
    uint32_t ip = 0;
};

// Code 20: starts a one-shot ping of the host for the outlet; -1 for an
// outlet this unit lacks.
class PingTestProcessor final
    : public WebResultProcessor<std::shared_ptr<PingTaskContainer>, _PingTest,
                                &WebPacketBuilder::buildTestPingRetPacket>
{
public:
    using WebResultProcessor::WebResultProcessor;

    int work() override;
};
}
