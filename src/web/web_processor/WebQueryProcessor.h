#pragma once
#include "web/web_parser/WebModules.h"
#include "web/web_processor/WebCommandProcessor.h"

namespace web
{
// A query answered from the records as they stand: work has nothing to do,
// the named processor writes the answer.
template <class FieldsType = WebNoFields>
class WebQueryProcessor : public WebCommandProcessor<WebNoModule, FieldsType>
{
public:
    using WebCommandProcessor<WebNoModule, FieldsType>::WebCommandProcessor;

    int work() override { return 0; }
};
}
