#pragma once
#include <memory>
#include <string>
#include <unordered_map>

#include "JsonCpp.h"
#include "muduo/base/noncopyable.h"

class PduServer;

namespace web
{
class WebModules;
class WebParser;
class WebProcessor;

// Turns one web request (a JSON object in one datagram) into the processor
// that answers it, through the parser of its "request" code. One per
// process; the table is fixed when it is made.
class WebProcessorFactory : muduo::noncopyable
{
public:
    // The parsers take the modules they hand to their processors from the
    // server (none without one).
    explicit WebProcessorFactory(PduServer* server);
    explicit WebProcessorFactory(const WebModules& modules);
    ~WebProcessorFactory();

    // 0 nothing to send (no processor), 1 answer with the processor here,
    // 2 hand its relay to the cascade link.
    int parseWebProcessor(const std::string& request, std::shared_ptr<WebProcessor>& processor);

private:
    std::unordered_map<int, std::shared_ptr<WebParser>> parsers_;
    Json::JsonCpp document_;  // the last request
};
}
