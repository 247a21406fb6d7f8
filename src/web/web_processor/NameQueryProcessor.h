#pragma once
#include <map>
#include <set>
#include <string>

#include "web/web_processor/WebProcessor.h"

namespace web
{
// Code 31: the names of this unit (address 0) or, from the master's
// records, of a slave; -1 when there is no such record.
class NameQueryProcessor final : public WebProcessor
{
public:
    int work() override;
    bool buildResponseString(int result, std::string& response) override;

    int address = 0;
    bool unitName = false;  // the unit's own name is wanted
    std::set<int> ports;    // outlets whose names are wanted

private:
    std::map<int, std::string> names_;  // key -1 the unit, from 0 the outlets
};
}
