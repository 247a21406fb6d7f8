// Feeds arbitrary bytes to the answer struct of every cascade command (the
// first byte picks the code, as in an answer payload) and, as a request
// payload, to the slave's parser of that code. What an answer struct reads
// it must write in the same layout again: once the readings have been
// through their doubles twice (the truncating conversions lose at most one
// unit a pass, and settle after two: 102410 hundredths, 1024.1 kWh, comes
// back as 102409, then 102408), a write reads back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "cascade/parser/CascadeCtrlCommandTypes.h"
#include "cascade/processor/CascadeCtrlAddScheduledTaskExtParser.h"
#include "cascade/processor/CascadeCtrlAddScheduledTaskParser.h"
#include "cascade/processor/CascadeCtrlDataParserTable.h"
#include "cascade/processor/CascadeCtrlDeleteScheduledTaskParser.h"
#include "cascade/processor/CascadeCtrlOperatePortExtParser.h"
#include "cascade/processor/CascadeCtrlOperatePortParser.h"
#include "cascade/processor/CascadeCtrlQueryDeviceStatusExtParser.h"
#include "cascade/processor/CascadeCtrlQueryDeviceStatusParser.h"
#include "cascade/processor/CascadeCtrlQueryScheduledTaskParser.h"
#include "cascade/processor/CascadeCtrlSetInputThresholdParser.h"
#include "cascade/processor/CascadeCtrlSetNameExtParser.h"
#include "cascade/processor/CascadeCtrlSetNameParser.h"
#include "cascade/processor/CascadeCtrlSetNetworkParser.h"
#include "cascade/processor/CascadeCtrlSetOutputThresholdExtParser.h"
#include "cascade/processor/CascadeCtrlSetPingExtParser.h"
#include "cascade/processor/CascadeCtrlSetPingParser.h"
#include "cascade/processor/CascadeCtrlSetPortDelayParser.h"
#include "cascade/processor/CascadeCtrlSetTempHumThresholdParser.h"
#include "cascade/processor/CascadeCtrlSetTimeParser.h"
#include "cascade/processor/CascadeCtrlTestPingParser.h"
#include "cascade/processor/CascadeCtrlUpdateScheduledTaskExtParser.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"

namespace
{
using namespace CascadeCtrl;

// Reads bytes whole into a fresh answer and writes it again.
template <int kCode>
bool rewrite(const muduo::net::Buffer& bytes, muduo::net::Buffer& out)
{
    typename CascadeCtrlCommandTypes<kCode>::Answer answer;
    muduo::net::WireReader r(bytes);
    if (!answer.read(r) || r.remaining() != 0)
        return false;
    muduo::net::WireWriter w(out);
    answer.write(w);
    return true;
}

template <int kCode>
void readAnswer(const uint8_t* data, size_t size)
{
    typename CascadeCtrlCommandTypes<kCode>::Answer answer;
    muduo::net::WireReader r(data, size);
    if (!answer.read(r))
        return;
    muduo::net::Buffer first, second, third;
    muduo::net::WireWriter w(first);
    answer.write(w);
    if (!rewrite<kCode>(first, second) || !rewrite<kCode>(second, third))
        __builtin_trap();
    if (third.readableBytes() != second.readableBytes() ||
        std::char_traits<char>::compare(third.peek(), second.peek(), second.readableBytes()) != 0)
        __builtin_trap();
}

template <int... kIndex>
void readAnswerOf(int code, const uint8_t* data, size_t size, std::integer_sequence<int, kIndex...>)
{
    ((code == CascadeCtrlCommand::kFirst + kIndex ? readAnswer<CascadeCtrlCommand::kFirst + kIndex>(data, size)
                                                  : void()),
     ...);
}

// The slave parsers whose processors need no module to be made (the rest
// differ only in the request struct they read, fuzzed with the frames).
CascadeCtrlDataParserTable* makeParsers()
{
    auto* table = new CascadeCtrlDataParserTable;
    typedef CascadeCtrlCommand C;
    table->add(C::kOperatePort, std::make_shared<CascadeCtrlOperatePortParser>(nullptr));
    table->add(C::kOperatePortExt, std::make_shared<CascadeCtrlOperatePortExtParser>(nullptr));
    table->add(C::kSetName, std::make_shared<CascadeCtrlSetNameParser>());
    table->add(C::kSetNameExt, std::make_shared<CascadeCtrlSetNameExtParser>());
    table->add(C::kSetNetwork, std::make_shared<CascadeCtrlSetNetworkParser>());
    table->add(C::kQueryDeviceStatus, std::make_shared<CascadeCtrlQueryDeviceStatusParser>());
    table->add(C::kQueryDeviceStatusExt, std::make_shared<CascadeCtrlQueryDeviceStatusExtParser>());
    table->add(C::kSetOutputThresholdExt, std::make_shared<CascadeCtrlSetOutputThresholdExtParser>());
    table->add(C::kSetInputThreshold, std::make_shared<CascadeCtrlSetInputThresholdParser>());
    table->add(C::kSetTempHumThreshold, std::make_shared<CascadeCtrlSetTempHumThresholdParser>());
    table->add(C::kSetPortDelay, std::make_shared<CascadeCtrlSetPortDelayParser>());
    table->add(C::kQueryScheduledTask, std::make_shared<CascadeCtrlQueryScheduledTaskParser>());
    table->add(C::kAddScheduledTask, std::make_shared<CascadeCtrlAddScheduledTaskParser>(nullptr));
    table->add(C::kAddScheduledTaskExt, std::make_shared<CascadeCtrlAddScheduledTaskExtParser>(nullptr));
    table->add(C::kUpdateScheduledTaskExt, std::make_shared<CascadeCtrlUpdateScheduledTaskExtParser>(nullptr));
    table->add(C::kDeleteScheduledTask, std::make_shared<CascadeCtrlDeleteScheduledTaskParser>(nullptr));
    table->add(C::kSetTime, std::make_shared<CascadeCtrlSetTimeParser>(nullptr, nullptr));
    table->add(C::kSetPing, std::make_shared<CascadeCtrlSetPingParser>(nullptr));
    table->add(C::kSetPingExt, std::make_shared<CascadeCtrlSetPingExtParser>(nullptr));
    table->add(C::kTestPing, std::make_shared<CascadeCtrlTestPingParser>(nullptr));
    return table;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CascadeCtrlDataParserTable* parsers = [] {
        muduo::Logger::setOutput([](const char*, int) {});
        return makeParsers();
    }();
    if (size == 0)
        return 0;
    typedef CascadeCtrlCommand C;
    readAnswerOf(data[0], data + 1, size - 1, std::make_integer_sequence<int, C::kLast - C::kFirst + 1>());
    if (std::shared_ptr<CascadeCtrlDataParser> parser = parsers->find(data[0]))
    {
        muduo::net::Buffer payload;
        payload.append(data, size);
        std::shared_ptr<CascadeCtrlProcessor> processor;
        const size_t before = payload.readableBytes();
        if (parser->parse(payload, processor) != (processor != nullptr) || payload.readableBytes() > before)
            __builtin_trap();
    }
    return 0;
}
