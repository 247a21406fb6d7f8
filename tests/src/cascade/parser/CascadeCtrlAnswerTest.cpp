// Every command's request and answer struct written, read back and written
// again (one loop over codes 1 to 43), every truncation of each, and the
// readers' view of the layouts the master depends on.
#include <gtest/gtest.h>

#include <utility>

#include "muduo/net/Buffer.h"
#include "support/CascadeSamples.h"
#include "support/TestFrames.h"

namespace
{
using namespace CascadeCtrl;
using test::Bytes;

template <class T>
Bytes written(const T& value)
{
    muduo::net::Buffer b;
    muduo::net::WireWriter w(b);
    value.write(w);
    return Bytes(b.peek(), b.peek() + b.readableBytes());
}

template <class T>
bool readAll(const Bytes& bytes, T& out)
{
    muduo::net::WireReader r(bytes.data(), bytes.size());
    return out.read(r) && r.remaining() == 0;
}

// What a reader takes it gives back; a cut copy is refused or read as
// exactly the bytes it holds, never more.
template <class T>
void roundTrip(const std::string& what, const T& sample)
{
    const Bytes bytes = written(sample);
    T back;
    ASSERT_TRUE(readAll(bytes, back)) << what;
    EXPECT_EQ(bytes, written(back)) << what;
    for (size_t n = 0; n < bytes.size(); ++n)
    {
        const Bytes cut(bytes.begin(), bytes.begin() + static_cast<long>(n));
        T part;
        if (readAll(cut, part))
        {
            EXPECT_EQ(cut, written(part)) << what << " cut to " << n;
        }
    }
}

template <int kCode>
void checkCommand()
{
    typedef CascadeCtrlCommandTypes<kCode> Types;
    const std::string code = " of code " + std::to_string(kCode);
    typename Types::Request request;
    test::cascade::fill(request);
    roundTrip("request" + code, request);
    typename Types::Answer answer;
    test::cascade::fill(answer);
    roundTrip("answer" + code, answer);
    if constexpr (std::is_base_of<CascadeCtrlAnswerStatus, typename Types::Answer>::value)
    {
        answer.status = 1;
        roundTrip("failed answer" + code, answer);
    }
}

template <int... kIndex>
void checkEvery(std::integer_sequence<int, kIndex...>)
{
    (checkCommand<CascadeCtrlCommand::kFirst + kIndex>(), ...);
}

Bytes hex(const std::string& text)
{
    Bytes out;
    for (size_t i = 0; i + 1 < text.size();)
        if (text[i] == ' ')
            ++i;
        else
            out.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16))), i += 2;
    return out;
}
}

TEST(CascadeCtrlAnswerTest, EveryRequestAndAnswerReadsBackWhatWasWritten)
{
    checkEvery(std::make_integer_sequence<int, CascadeCtrlCommand::kLast - CascadeCtrlCommand::kFirst + 1>());
}

TEST(CascadeCtrlAnswerTest, ReadersTakeTheLayoutsApart)
{
    CascadeCtrlEnergyData<uint32_t> energy;
    ASSERT_TRUE(readAll(hex("04 00000000"), energy));
    EXPECT_FALSE(energy.done);
    EXPECT_EQ(4, energy.type);
    EXPECT_FALSE(readAll(hex("04 00000001"), energy));
    ASSERT_TRUE(readAll(hex("01 80000001 18 06 01 17 02 00000001 FFFFFFFF 00000002 00000003"), energy));
    EXPECT_TRUE(energy.done);
    EXPECT_EQ(2024, energy.startYear);
    EXPECT_EQ(CascadeCtrlEnergyData<uint32_t>::Series({{1, 0xFFFFFFFF}, {2, 3}}), energy.series);
    EXPECT_FALSE(readAll(hex("01 80000001 18 06 01 17 02 00000001"), energy)); // half a series

    CascadeCtrlLogListData logs;
    ASSERT_TRUE(readAll(hex("0001 00000007 18 05 06 07 08 09 03 FF 02"), logs));
    EXPECT_EQ(-1, logs.logs.at(0).port);
    EXPECT_EQ(2024, logs.logs.at(0).year);

    CascadeCtrlTaskListData<uint32_t, true> tasks;
    ASSERT_TRUE(
        readAll(hex("0001 00000002 00000003 01 90 0C 05 08 1E 00 00 41 000000000000000000000000000000"), tasks));
    EXPECT_EQ(1888, tasks.tasks.at(0).year);
    EXPECT_EQ("A", tasks.tasks.at(0).remark);

    CascadeCtrlNetworkAnswer network;
    ASSERT_TRUE(readAll(hex("00 01 C0A8010A FFFFFF00 C0A80101 00 020000000001 41424300000000000000000000000000"
                            " 0050 01BB 00 22BA"),
                        network));
    EXPECT_EQ(0xC0A8010Au, network.data.setting.networks.at(0).ip);
    EXPECT_EQ("ABC", network.data.setting.networks.at(0).netbiosName);

    CascadeCtrlPingListAnswer<uint32_t> pings;
    ASSERT_TRUE(readAll(hex("00 80000004 7F000001 C8 03 02 01"), pings));
    EXPECT_EQ(0x80000004u, pings.data.mask);
    EXPECT_EQ(200u, pings.data.settings.at(2).interval);
    EXPECT_EQ(0x7F000001u, pings.data.settings.at(2).ip);

    CascadeCtrlDeviceStatusAnswer<uint32_t> status;
    ASSERT_TRUE(readAll(hex("00 02 FFCA 8000 80000000 FFFF FFFF 00000000 0000 00000000"), status));
    EXPECT_DOUBLE_EQ(-5.4, status.data.temperature);
    EXPECT_TRUE(Utility::isInvalidDoubleValue(status.data.humidity));
    EXPECT_TRUE(Utility::isInvalidDoubleValue(status.data.outlets.at(31).voltage));
    EXPECT_FALSE(readAll(hex("01 02"), status)); // a failed answer ends after its status
    ASSERT_TRUE(readAll(hex("01"), status));
    EXPECT_FALSE(status.done());
}
