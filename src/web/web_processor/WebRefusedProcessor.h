#pragma once
#include <memory>
#include <string>
#include <utility>

#include "web/web_processor/WebProcessor.h"

namespace web
{
// A request for a slave whose fields the cascade line cannot carry: it is
// neither relayed nor carried out here, and is answered as failed with the
// command's own answer.
class WebRefusedProcessor final : public WebProcessor
{
public:
    explicit WebRefusedProcessor(std::shared_ptr<WebProcessor> command) : command_(std::move(command)) {}

    int work() override { return -1; }
    bool buildResponseString(int result, std::string& response) override
    {
        return command_->buildResponseString(result, response);
    }

private:
    std::shared_ptr<WebProcessor> command_;
};
}
