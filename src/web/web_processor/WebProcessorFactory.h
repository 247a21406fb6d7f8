#pragma once
#include <memory>
#include <string>

class PduServer;

namespace web
{
class WebProcessor;

// Turns one web request (JSON) into the processor that answers it.
class WebProcessorFactory
{
public:
    explicit WebProcessorFactory(PduServer* server);

    // 0 nothing to send, 1 answer with the processor, 2 forward its relay to
    // a slave.
    int parseWebProcessor(const std::string& request, std::shared_ptr<WebProcessor>& processor);
};
}
