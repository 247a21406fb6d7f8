#pragma once
#include <map>
#include <set>
#include <string>

#include "web/web_parser/WebModules.h"
#include "web/web_processor/WebCommandProcessor.h"

namespace web
{
// The names one request asks for.
struct _NameQuery
{
    int address = 0;
    bool unitName = false;  // the unit's own name is wanted
    std::set<int> ports;    // outlets whose names are wanted
};

// Code 31: the names of this unit (address 0) or, from the master's
// records, of a slave; -1 when there is no such record.
class NameQueryProcessor final : public WebCommandProcessor<WebNoModule, _NameQuery>
{
public:
    using WebCommandProcessor::WebCommandProcessor;

    int work() override;
    bool buildResponseString(int result, std::string& response) override;

private:
    std::map<int, std::string> names_;  // key -1 the unit, from 0 the outlets
};
}
