#include "web/web_processor/WebProcessorFactory.h"

#include "muduo/base/Logging.h"
#include "web/web_parser/DateTimeSetParser.h"
#include "web/web_parser/DeviceListQueryParser.h"
#include "web/web_parser/DevicePortDelayQueryParser.h"
#include "web/web_parser/DevicePortDelayUpdateParser.h"
#include "web/web_parser/DeviceStatusQueryParser.h"
#include "web/web_parser/EmailParser.h"
#include "web/web_parser/EnergyClearParser.h"
#include "web/web_parser/InputThresholdQueryParser.h"
#include "web/web_parser/InputThresholdUpdateParser.h"
#include "web/web_parser/NameQueryParser.h"
#include "web/web_parser/NameSetParser.h"
#include "web/web_parser/NtpServerQueryParser.h"
#include "web/web_parser/NtpServerSetParser.h"
#include "web/web_parser/OutputThresholdQueryParser.h"
#include "web/web_parser/OutputThresholdUpdateParser.h"
#include "web/web_parser/PingQueryParser.h"
#include "web/web_parser/PingSetParser.h"
#include "web/web_parser/PingTestParser.h"
#include "web/web_parser/PingTestStatusParser.h"
#include "web/web_parser/PortOperationParser.h"
#include "web/web_parser/RebootParser.h"
#include "web/web_parser/ScheduledTaskAddParser.h"
#include "web/web_parser/ScheduledTaskDeleteParser.h"
#include "web/web_parser/ScheduledTaskQueryParser.h"
#include "web/web_parser/ScheduledTaskUpdateParser.h"
#include "web/web_parser/TempHumiThresholdQueryParser.h"
#include "web/web_parser/TempHumiThresholdUpdateParser.h"
#include "web/web_parser/WebModules.h"
#include "web/web_processor/WebProcessor.h"

namespace web
{
namespace
{
typedef std::shared_ptr<WebParser> (*ParserMaker)(const WebModules& modules);

// A parser takes the module its processors need.
template <class Parser>
std::shared_ptr<WebParser> make(const WebModules& modules)
{
    return std::make_shared<Parser>(modules);
}

struct TableEntry
{
    int code;
    ParserMaker maker;  // null: the command is not served yet
};

// Every web request code; an empty maker's requests are dropped as codes
// without a parser.
const TableEntry kTable[] = {
    {1, &make<DeviceListQueryParser>},
    {2, &make<PortOperationParser>},
    {3, &make<DeviceStatusQueryParser>},
    {4, &make<OutputThresholdUpdateParser>},
    {5, &make<InputThresholdUpdateParser>},
    {11, &make<DevicePortDelayUpdateParser>},
    {12, &make<DateTimeSetParser>},
    {13, &make<EnergyClearParser>},
    {14, &make<RebootParser>},
    {15, &make<TempHumiThresholdUpdateParser>},
    {16, &make<EmailParser>},
    {17, &make<PingSetParser>},
    {20, &make<PingTestParser>},
    {21, &make<PingTestStatusParser>},
    {22, &make<OutputThresholdQueryParser>},
    {23, &make<InputThresholdQueryParser>},
    {24, &make<DevicePortDelayQueryParser>},
    {25, &make<TempHumiThresholdQueryParser>},
    {26, &make<ScheduledTaskQueryParser>},
    {27, &make<ScheduledTaskAddParser>},
    {28, &make<ScheduledTaskUpdateParser>},
    {29, &make<ScheduledTaskDeleteParser>},
    {30, &make<NameSetParser>},
    {31, &make<NameQueryParser>},
    {38, &make<PingQueryParser>},
    {39, &make<NtpServerQueryParser>},
    {40, &make<NtpServerSetParser>},
};
}

WebProcessorFactory::WebProcessorFactory(PduServer* server) : WebProcessorFactory(WebModules(server)) {}

WebProcessorFactory::WebProcessorFactory(const WebModules& modules)
{
    for (const TableEntry& entry : kTable)
        parsers_[entry.code] = entry.maker ? entry.maker(modules) : nullptr;
}

WebProcessorFactory::~WebProcessorFactory() = default;

int WebProcessorFactory::parseWebProcessor(const std::string& request, std::shared_ptr<WebProcessor>& processor)
{
    processor.reset();
    // The text ends at the datagram's first NUL byte.
    if (!document_.Parse(request.substr(0, request.find('\0'))))
    {
        LOG_WARN << "json parse error";
        return 0;
    }
    const rapidjson::Document& document = document_.GetDocument();
    // Any top level but an object holds no "request".
    rapidjson::Value::ConstMemberIterator code;
    if (!document.IsObject() || (code = document.FindMember("request")) == document.MemberEnd())
    {
        LOG_WARN << "no request";
        return 0;
    }
    if (!code->value.IsInt())
    {
        LOG_WARN << "request is not an integer";
        return 0;
    }
    const auto parser = parsers_.find(code->value.GetInt());
    if (parser == parsers_.end() || !parser->second)
    {
        LOG_WARN << "no parser";
        return 0;
    }
    const int result = parser->second->parse(document_, processor);
    // A relay result must come with the relay the hub hands on.
    if (result == 0 || !processor || (result != 2 && !processor->relay()))
    {
        LOG_WARN << "parse web error";
        processor.reset();
        return 0;
    }
    return result == 2 ? 1 : 2;
}
}
