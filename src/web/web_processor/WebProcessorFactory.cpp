#include "web/web_processor/WebProcessorFactory.h"

#include <type_traits>

#include "muduo/base/Logging.h"
#include "web/web_parser/DateTimeSetParser.h"
#include "web/web_parser/DeviceListQueryParser.h"
#include "web/web_parser/EmailParser.h"
#include "web/web_parser/EnergyClearParser.h"
#include "web/web_parser/PingQueryParser.h"
#include "web/web_parser/PingSetParser.h"
#include "web/web_parser/PingTestParser.h"
#include "web/web_parser/PingTestStatusParser.h"
#include "web/web_parser/RebootParser.h"
#include "web/web_parser/ScheduledTaskAddParser.h"
#include "web/web_parser/ScheduledTaskDeleteParser.h"
#include "web/web_parser/ScheduledTaskQueryParser.h"
#include "web/web_parser/ScheduledTaskUpdateParser.h"
#include "web/web_processor/WebProcessor.h"

namespace web
{
namespace
{
typedef std::shared_ptr<WebParser> (*ParserMaker)(PduServer* server);

template <class Parser>
std::shared_ptr<WebParser> make(PduServer* server)
{
    if constexpr (std::is_constructible<Parser, PduServer*>::value)
        return std::make_shared<Parser>(server);
    else
        return std::make_shared<Parser>();
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
    {2, nullptr},   // PortOperationParser
    {3, nullptr},   // DeviceStatusQueryParser
    {4, nullptr},   // OutputThresholdUpdateParser
    {5, nullptr},   // InputThresholdUpdateParser
    {11, nullptr},  // DevicePortDelayUpdateParser
    {12, &make<DateTimeSetParser>},
    {13, &make<EnergyClearParser>},
    {14, &make<RebootParser>},
    {15, nullptr},  // TempHumiThresholdUpdateParser
    {16, &make<EmailParser>},
    {17, &make<PingSetParser>},
    {20, &make<PingTestParser>},
    {21, &make<PingTestStatusParser>},
    {22, nullptr},  // OutputThresholdQueryParser
    {23, nullptr},  // InputThresholdQueryParser
    {24, nullptr},  // DevicePortDelayQueryParser
    {25, nullptr},  // TempHumiThresholdQueryParser
    {26, &make<ScheduledTaskQueryParser>},
    {27, &make<ScheduledTaskAddParser>},
    {28, &make<ScheduledTaskUpdateParser>},
    {29, &make<ScheduledTaskDeleteParser>},
    {30, nullptr},  // NameSetParser
    {31, nullptr},  // NameQueryParser
    {38, &make<PingQueryParser>},
    {39, nullptr},  // NtpServerQueryParser
    {40, nullptr},  // NtpServerSetParser
};
}

WebProcessorFactory::WebProcessorFactory(PduServer* server)
{
    for (const TableEntry& entry : kTable)
        parsers_[entry.code] = entry.maker ? entry.maker(server) : nullptr;
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
