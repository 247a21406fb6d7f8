#include "support/FakeMaster.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <utility>

#include "GlobalData.h"
#include "PduServer.h"
#include "PowerModuleContainer.h"
#include "SerialPort.h"
#include "cascade/parser/CascadeCtrlCommandTypes.h"
#include "cascade/processor/CascadeCtrlProcessorFactory.h"
#include "muduo/net/Buffer.h"
#include "platform/pmemu/PmPty.h"
#include "support/LogCapture.h"
#include "support/TestDatabases.h"

namespace test
{
FakeMaster::FakeMaster(const std::function<void()>& adjust)
{
    server_ = &board_.build([&] {
        _Device& device = GlobalData::getDevice();
        device.isMaster = false;
        device.address = kAddress;
        if (adjust)
            adjust();
    });
    server_->getPowerModuleContainer()->startRead();
    server_->getCascadeSerialPort()->fileHandler()->startRead();
    server_->getCascadeCtrlProcessorFactory()->start();
    line_ = board_.cascadeLine().masterFd();
    ::fcntl(line_, F_SETFL, ::fcntl(line_, F_GETFL) | O_NONBLOCK);
}

FakeMaster::~FakeMaster() = default;

void FakeMaster::send(const Bytes& bytes)
{
    ASSERT_EQ(static_cast<ssize_t>(bytes.size()), ::write(line_, bytes.data(), bytes.size()));
}

Bytes FakeMaster::receive(double seconds)
{
    Bytes got;
    uint8_t address = 0;
    uint16_t seq = 0;
    Bytes payload;
    board_.runUntil(
        [&] {
            unsigned char chunk[4096];
            for (ssize_t n; (n = ::read(line_, chunk, sizeof chunk)) > 0;)
                got.insert(got.end(), chunk, chunk + n);
            return decodeCascadeFrame(got, address, seq, payload);
        },
        seconds);
    return got;
}

void FakeMaster::refusesEveryCut(const Bytes& payload)
{
    CascadeCtrl::CascadeCtrlProcessorFactory& slave = *server_->getCascadeCtrlProcessorFactory();
    for (size_t n = 1; n < payload.size(); ++n)
    {
        LogCapture log;
        const Bytes frame = cascadeFrame(kAddress, sequence, Bytes(payload.begin(), payload.begin() + long(n)));
        slave.processCascadeCtrlPacket(reinterpret_cast<const char*>(frame.data()), static_cast<int>(frame.size()));
        EXPECT_TRUE(log.contains("parse cascade ctrl data error") && receive(0).empty()) << "cut to " << n;
    }
}

Bytes FakeMaster::ask(const Bytes& payload, double seconds, uint8_t address)
{
    const uint16_t asked = sequence++;
    send(cascadeFrame(address, asked, payload));
    const Bytes frame = receive(seconds);
    uint8_t from = 0;
    uint16_t echoed = 0;
    Bytes answer;
    if (frame.empty())
        return answer;
    EXPECT_TRUE(decodeCascadeFrame(frame, from, echoed, answer)) << hexBytes(std::string(frame.begin(), frame.end()));
    EXPECT_EQ(address, from);
    EXPECT_EQ(asked, echoed);
    EXPECT_TRUE(answerReadsBack(answer)) << hexBytes(std::string(answer.begin(), answer.end()));
    return answer;
}

void askEach(FakeMaster& master, const std::vector<CascadeStep>& steps)
{
    for (const CascadeStep& step : steps)
    {
        SCOPED_TRACE(step.name);
        if (step.before)
            step.before();
        const Bytes expected = fromHex(step.answer);
        if (!expected.empty())
            master.refusesEveryCut(fromHex(step.request));
        const Bytes got = master.ask(fromHex(step.request), expected.empty() ? 0.3 : 2.0);
        EXPECT_EQ(hexBytes(std::string(expected.begin(), expected.end())),
                  hexBytes(std::string(got.begin(), got.end())));
        if (step.after)
            step.after();
    }
}

Bytes fromHex(const std::string& text)
{
    Bytes out;
    for (size_t i = 0; i + 1 < text.size();)
        if (text[i] == ' ')
            ++i;
        else
            out.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16))), i += 2;
    return out;
}

std::string repeatHex(const std::string& hex, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += " " + hex;
    return out;
}

std::string boardSql(const std::string& query, const std::string& database)
{
    return queryText(boardDatabase(database), query);
}

std::string field16(const std::string& text)
{
    std::string padded = text.substr(0, 16);
    padded.resize(16, '\0');
    return " " + hexBytes(padded) + " ";
}

namespace
{
template <class Answer>
bool readAll(const Bytes& payload, size_t n, Answer& answer)
{
    muduo::net::WireReader r(payload.data() + 1, n - 1);
    return answer.read(r) && r.remaining() == 0;
}

template <class Answer>
Bytes written(int code, const Answer& answer)
{
    muduo::net::Buffer out;
    muduo::net::WireWriter w(out);
    w.u8(static_cast<uint8_t>(code));
    answer.write(w);
    return Bytes(out.peek(), out.peek() + out.readableBytes());
}

// The whole payload reads and is written again as it was; a cut one is
// refused or reads as exactly the bytes it holds, never more.
template <int kCode>
bool readsBack(const Bytes& payload)
{
    typename CascadeCtrl::CascadeCtrlCommandTypes<kCode>::Answer answer;
    if (!readAll(payload, payload.size(), answer) || written(kCode, answer) != payload)
        return false;
    for (size_t n = 1; n < payload.size(); ++n)
    {
        typename CascadeCtrl::CascadeCtrlCommandTypes<kCode>::Answer part;
        if (readAll(payload, n, part) && written(kCode, part) != Bytes(payload.begin(), payload.begin() + long(n)))
            return false;
    }
    return true;
}

template <int... kIndex>
bool readsBackByCode(const Bytes& payload, std::integer_sequence<int, kIndex...>)
{
    const int code = payload.at(0);
    return ((code == CascadeCtrl::CascadeCtrlCommand::kFirst + kIndex &&
             readsBack<CascadeCtrl::CascadeCtrlCommand::kFirst + kIndex>(payload)) ||
            ...);
}
}

bool answerReadsBack(const Bytes& payload)
{
    typedef CascadeCtrl::CascadeCtrlCommand C;
    return !payload.empty() && readsBackByCode(payload, std::make_integer_sequence<int, C::kLast - C::kFirst + 1>());
}
}
