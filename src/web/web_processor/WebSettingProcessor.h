#pragma once
#include "web/web_parser/WebModules.h"
#include "web/web_processor/WebCommandProcessor.h"

namespace web
{
// The commands that change one setting of this unit: work hands the fields
// to the device operation Apply (false: -1), the answer is the result alone.
template <class Fields, bool (*Apply)(const Fields&), void (*Answer)(Json::JsonCpp&, std::string&, int)>
class WebSettingProcessor : public WebResultProcessor<WebNoModule, Fields, Answer>
{
public:
    using WebResultProcessor<WebNoModule, Fields, Answer>::WebResultProcessor;

    int work() override { return Apply(this->fields_) ? 0 : -1; }
};
}
