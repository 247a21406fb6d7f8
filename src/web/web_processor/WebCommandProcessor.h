#pragma once
#include <string>

#include "web/web_processor/WebProcessor.h"

namespace web
{
// What a command without fields of its own carries.
struct WebNoFields
{
};

// The family of command processors: the module its parser holds and the
// fields its parser read. The named processor adds work() and, unless it
// answers with the result alone (WebResultProcessor), its answer.
template <class ModuleType, class FieldsType>
class WebCommandProcessor : public WebProcessor
{
public:
    typedef ModuleType Module;
    typedef FieldsType Fields;

    WebCommandProcessor() = default;
    WebCommandProcessor(const Module& module, const Fields& fields) : module_(module), fields_(fields) {}

    const Fields& fields() const { return fields_; }

protected:
    Module module_{};
    Fields fields_{};
};

// A command whose answer is {"response":code,"result":result}.
template <class ModuleType, class FieldsType, void (*Answer)(Json::JsonCpp&, std::string&, int)>
class WebResultProcessor : public WebCommandProcessor<ModuleType, FieldsType>
{
public:
    using WebCommandProcessor<ModuleType, FieldsType>::WebCommandProcessor;

    bool buildResponseString(int result, std::string& response) override
    {
        Answer(this->writer(), response, result);
        return true;
    }
};
}
