#pragma once
#include "web/web_processor/WebProcessor.h"

struct _SlaveDevice;

namespace web
{
// Code 23: the inlet limits of this unit (address 0) or, from the master's
// records, of a slave; -1 when there is no such record.
class InputThresholdQueryProcessor final : public WebProcessor
{
public:
    int work() override;
    bool buildResponseString(int result, std::string& response) override;

    int address = 0;

private:
    const _SlaveDevice* slave_ = nullptr;  // the record work found
};
}
