#pragma once
#include <functional>
#include <utility>

#include "snmp/parser/SnmpFields.h"
#include "snmp/parser/SnmpParser.h"

namespace snmp
{
// The parser of the code whose processor is Processor: a new processor for
// every request, which reads the "content" object itself.
template <class Processor>
class SnmpRequestParser : public SnmpParser
{
public:
    typedef std::function<std::shared_ptr<Processor>()> Maker;

    SnmpRequestParser() : make_([] { return std::make_shared<Processor>(); }) {}
    explicit SnmpRequestParser(Maker make) : make_(std::move(make)) {}

    int parse(Json::JsonCpp& request, std::shared_ptr<SnmpProcessor>& out) override
    {
        const std::shared_ptr<Processor> processor = make_();
        const rapidjson::Value* content = SnmpFields::findObject(request.GetDocument(), "content");
        if (!content || !processor->read(*content))
            return 0;
        out = processor;
        return 1;
    }

private:
    Maker make_;
};
}
