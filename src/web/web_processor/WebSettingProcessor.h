#pragma once
#include "web/web_processor/WebProcessor.h"

namespace web
{
// The processor family of the commands that change one setting of this
// unit: the parser fills `value`, work hands it to the device operation
// Apply (false: -1) and the answer is Write's {"response","result"}.
template <class Value, bool (*Apply)(const Value&), void (*Write)(Json::JsonCpp&, std::string&, int)>
class WebSettingProcessor : public WebProcessor
{
public:
    int work() override { return Apply(value) ? 0 : -1; }
    bool buildResponseString(int result, std::string& response) override
    {
        Write(writer(), response, result);
        return true;
    }

    Value value{};
};
}
