#include <gtest/gtest.h>

#include "ModbusFrames.h"
#include "modbus/ModbusController.h"
#include "muduo/net/EventLoop.h"

using namespace mbtest;

namespace
{
struct CoilWrite
{
    Bytes states;
    int first;
    int count;
};

class ModbusControllerTest : public ::testing::Test
{
protected:
    static const int N = 8;

    ModbusControllerTest() : controller(&loop)
    {
        controller.init(N);
        controller.addParser("c");
        controller.setOutputControlCallback([this](const unsigned char* states, int first, int count) {
            writes.push_back({Bytes(states, states + count), first, count});
            return !refuse;
        });
    }

    // Sends one request, expects exactly one reply and returns it.
    Reply ask(uint8_t fc, const Bytes& data)
    {
        std::string request = frame(fc, data);
        muduo::net::Buffer reply;
        controller.parse("c", request.data(), static_cast<int>(request.size()), reply);
        std::vector<Reply> replies = takeReplies(reply);
        EXPECT_EQ(1u, replies.size()) << "fc " << int(fc);
        return replies.empty() ? Reply() : replies[0];
    }
    Reply readInputs(uint16_t start, uint16_t count) { return ask(4, be16s({start, count})); }
    int exceptionOf(uint8_t fc, const Bytes& data)
    {
        Reply r = ask(fc, data);
        EXPECT_EQ(fc | 0x80, r.fc);
        return r.exception();
    }

    muduo::net::EventLoop loop;
    modbus::ModbusController controller;
    std::vector<CoilWrite> writes;
    bool refuse = false;  // the device refuses every write
};
}

TEST_F(ModbusControllerTest, InletRegistersAndOutletCount)
{
    controller.setInputVoltage(2293);
    controller.setInputCurrent(1234);
    controller.setInputPower(4321);
    controller.setInputFactor(98);
    controller.setInputEnergy(0x00012345);
    controller.setOutputNum(N);
    EXPECT_EQ((std::vector<uint16_t>{2293, 1234, 4321, 98, 0x0001, 0x2345, N}), registers(readInputs(0, 7)));
    EXPECT_EQ((std::vector<uint16_t>{0x0001, 0x2345}), registers(readInputs(4, 2)));
}

TEST_F(ModbusControllerTest, OutletBlocksAtFixedVirtualAddresses)
{
    std::vector<uint16_t> v, c, p, f, e;
    for (int n = 0; n < N; ++n)
    {
        ASSERT_TRUE(controller.setOutputVoltage(n, static_cast<uint16_t>(2300 + n)));
        ASSERT_TRUE(controller.setOutputCurrent(n, static_cast<uint16_t>(100 + n)));
        ASSERT_TRUE(controller.setOutputPower(n, static_cast<uint16_t>(500 + n)));
        ASSERT_TRUE(controller.setOutputFactor(n, static_cast<uint16_t>(90 + n)));
        ASSERT_TRUE(controller.setOutputEnergy(n, 0x10000u * (n + 1) + 7u * n));
        v.push_back(static_cast<uint16_t>(2300 + n));
        c.push_back(static_cast<uint16_t>(100 + n));
        p.push_back(static_cast<uint16_t>(500 + n));
        f.push_back(static_cast<uint16_t>(90 + n));
        e.push_back(static_cast<uint16_t>(n + 1));
        e.push_back(static_cast<uint16_t>(7 * n));
    }
    EXPECT_EQ(v, registers(readInputs(7, 8)));
    EXPECT_EQ(c, registers(readInputs(207, 8)));
    EXPECT_EQ(p, registers(readInputs(407, 8)));
    EXPECT_EQ(f, registers(readInputs(607, 8)));
    EXPECT_EQ(e, registers(readInputs(807, 16)));
    // Within a block, from any outlet on.
    EXPECT_EQ((std::vector<uint16_t>{2303, 2304}), registers(readInputs(10, 2)));
    EXPECT_EQ((std::vector<uint16_t>{8, 49}), registers(readInputs(821, 2)));

    // Past the unit's outlets, though inside the virtual block.
    for (uint16_t start : {7, 207, 407, 607})
        EXPECT_EQ(2, readInputs(start, 9).exception()) << start;
    EXPECT_EQ(2, readInputs(807, 17).exception());
    EXPECT_EQ(2, readInputs(15, 1).exception());
    EXPECT_EQ(2, readInputs(206, 1).exception());
    EXPECT_EQ(2, readInputs(1206, 1).exception());
}

TEST_F(ModbusControllerTest, TemperatureAndHumidity)
{
    controller.setTemperature(static_cast<uint16_t>(-123));
    controller.setHumidity(456);
    EXPECT_EQ((std::vector<uint16_t>{0xFF85, 456}), registers(readInputs(1207, 2)));
    EXPECT_EQ((std::vector<uint16_t>{456}), registers(readInputs(1208, 1)));
    EXPECT_EQ(2, readInputs(1207, 3).exception());
    EXPECT_EQ(2, readInputs(1209, 1).exception());
    EXPECT_EQ(2, readInputs(0x7FFF, 1).exception());
    EXPECT_EQ(2, readInputs(0x8000, 1).exception());  // a negative address
}

TEST_F(ModbusControllerTest, SettersRefuseOutletsAndRangesThisUnitLacks)
{
    EXPECT_FALSE(controller.setOutputVoltage(N, 1));
    EXPECT_FALSE(controller.setOutputCurrent(-1, 1));
    EXPECT_FALSE(controller.setOutputEnergy(N, 1));
    EXPECT_FALSE(controller.setOutputFactor(1000, 1));
    const unsigned char states[4] = {1, 1, 1, 1};
    EXPECT_FALSE(controller.setOutputStatus(5, states, 4));
    EXPECT_FALSE(controller.setOutputStatus(-1, states, 1));
    EXPECT_TRUE(controller.setOutputStatus(4, states, 4));
    // Nothing spilled into the neighbouring block.
    EXPECT_EQ(std::vector<uint16_t>(8, 0), registers(readInputs(207, 8)));

    modbus::ModbusController bare(&loop);
    EXPECT_FALSE(bare.setTemperature(1));
    EXPECT_FALSE(bare.setOutputVoltage(0, 1));
}

TEST_F(ModbusControllerTest, ExceptionRules)
{
    EXPECT_EQ(3, exceptionOf(4, be16s({0, 124})));
    EXPECT_EQ(3, exceptionOf(4, be16s({0, 0})));
    EXPECT_EQ(2, exceptionOf(4, be16s({0, 6 * N + 10})));  // real table ends at 6N + 9
    EXPECT_EQ(6 * N + 9u, registers(ask(4, be16s({0, 6 * N + 9}))).size());
    EXPECT_EQ(2, exceptionOf(3, be16s({0, 1})));  // no holding registers
    EXPECT_EQ(3, exceptionOf(3, be16s({0, 124})));
    for (uint8_t fc : {0, 1, 6, 7, 14, 16, 0x2B, 0x7F})
        EXPECT_EQ(1, exceptionOf(fc, be16s({0, 1}))) << int(fc);
    EXPECT_EQ(3, exceptionOf(2, be16s({0, 0})));
    EXPECT_EQ(3, exceptionOf(2, be16s({0, 2001})));
    EXPECT_EQ(2, exceptionOf(2, be16s({0, 9})));
    EXPECT_EQ(2, exceptionOf(2, be16s({0xFFFF, 1})));
    EXPECT_EQ(2, exceptionOf(5, be16s({8, 0xFF00})));
    EXPECT_EQ(3, exceptionOf(5, be16s({3, 0x1234})));
    EXPECT_TRUE(writes.empty());

    // The exception reply: 9 bytes echoing the ids.
    std::string request = frame(1, be16s({0, 1}), 0xBEEF, 0x11, 0x0007);
    muduo::net::Buffer reply;
    controller.parse("c", request.data(), static_cast<int>(request.size()), reply);
    ASSERT_EQ(9u, reply.readableBytes());
    std::vector<Reply> r = takeReplies(reply);
    ASSERT_EQ(1u, r.size());
    EXPECT_EQ(0xBEEF, r[0].tid);
    EXPECT_EQ(0x0007, r[0].pid);
    EXPECT_EQ(3, r[0].length);
    EXPECT_EQ(0x11, r[0].uid);
    EXPECT_EQ(0x81, r[0].fc);
    EXPECT_EQ(1, r[0].exception());
}

TEST_F(ModbusControllerTest, DiscreteInputsArePackedFirstInputInBitZero)
{
    const unsigned char states[N] = {1, 0, 1, 1, 0, 0, 0, 1};
    ASSERT_TRUE(controller.setOutputStatus(0, states, N));
    EXPECT_EQ((Bytes{1, 0x8D}), ask(2, be16s({0, 8})).data);
    EXPECT_EQ((Bytes{1, 0x23}), ask(2, be16s({2, 6})).data);
    EXPECT_EQ((Bytes{1, 0x01}), ask(2, be16s({7, 1})).data);
}

TEST_F(ModbusControllerTest, SingleCoilWriteEchoesAndReachesTheCallback)
{
    Reply r = ask(5, be16s({3, 0xFF00}));
    EXPECT_EQ(5, r.fc);
    EXPECT_EQ(be16s({3, 0xFF00}), r.data);
    ASSERT_EQ(1u, writes.size());
    EXPECT_EQ((Bytes{1}), writes[0].states);
    EXPECT_EQ(3, writes[0].first);
    EXPECT_EQ(1, writes[0].count);

    EXPECT_EQ(be16s({3, 0x0000}), ask(5, be16s({3, 0x0000})).data);
    ASSERT_EQ(2u, writes.size());
    EXPECT_EQ((Bytes{0}), writes[1].states);
}

TEST_F(ModbusControllerTest, MultipleCoilWrite)
{
    Bytes data = be16s({0, 8});
    data.insert(data.end(), {1, 0x05});
    Reply r = ask(15, data);
    EXPECT_EQ(15, r.fc);
    EXPECT_EQ(be16s({0, 8}), r.data);
    ASSERT_EQ(1u, writes.size());
    EXPECT_EQ((Bytes{1, 0, 1, 0, 0, 0, 0, 0}), writes[0].states);
    EXPECT_EQ(0, writes[0].first);
    EXPECT_EQ(8, writes[0].count);

    // From an offset: the callback gets the states from there.
    data = be16s({5, 3});
    data.insert(data.end(), {1, 0x06});
    EXPECT_EQ(be16s({5, 3}), ask(15, data).data);
    ASSERT_EQ(2u, writes.size());
    EXPECT_EQ((Bytes{0, 1, 1}), writes[1].states);
    EXPECT_EQ(5, writes[1].first);
    EXPECT_EQ((Bytes{1, 0, 1, 0, 0, 0, 1, 1}),
              Bytes(controller.module().coils(), controller.module().coils() + N));
}

TEST_F(ModbusControllerTest, AWriteTheDeviceRefusesIsAServerDeviceFailureAndChangesNoCoil)
{
    Bytes data = be16s({0, 8});
    data.insert(data.end(), {1, 0x05});
    ask(15, data);
    refuse = true;
    EXPECT_EQ(4, exceptionOf(5, be16s({1, 0xFF00})));
    data = be16s({0, 8});
    data.insert(data.end(), {1, 0xFA});
    EXPECT_EQ(4, exceptionOf(15, data));
    EXPECT_EQ(3u, writes.size());
    EXPECT_EQ((Bytes{1, 0, 1, 0, 0, 0, 0, 0}), Bytes(controller.module().coils(), controller.module().coils() + N));
}

TEST_F(ModbusControllerTest, MultipleCoilWriteNeedsConsistentByteCount)
{
    auto request = [](uint16_t start, uint16_t quantity, uint8_t byteCount, Bytes bytes) {
        Bytes d = be16s({start, quantity});
        d.push_back(byteCount);
        d.insert(d.end(), bytes.begin(), bytes.end());
        return d;
    };
    EXPECT_EQ(3, exceptionOf(15, request(0, 8, 0, {})));
    EXPECT_EQ(3, exceptionOf(15, request(0, 8, 0, {0xFF})));     // count does not cover the quantity
    EXPECT_EQ(3, exceptionOf(15, request(0, 9, 1, {0xFF, 0xFF})));
    EXPECT_EQ(3, exceptionOf(15, request(0, 8, 1, {})));         // byte missing from the frame
    EXPECT_EQ(3, exceptionOf(15, request(0, 8, 2, {0xFF})));
    EXPECT_EQ(3, exceptionOf(15, request(0, 0, 1, {0xFF})));
    EXPECT_EQ(3, exceptionOf(15, request(0, 1969, 247, Bytes(247, 0xFF))));
    EXPECT_EQ(2, exceptionOf(15, request(1, 8, 1, {0xFF})));
    EXPECT_EQ(2, exceptionOf(15, request(0x8000, 1, 1, {0xFF})));
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(Bytes(N, 0), Bytes(controller.module().coils(), controller.module().coils() + N));
    // A larger byte count than needed is accepted.
    EXPECT_EQ(15, ask(15, request(0, 2, 2, {0x03, 0x00})).fc);
    ASSERT_EQ(1u, writes.size());
}

TEST_F(ModbusControllerTest, EveryTruncatedRequestIsAnIllegalValueAndSwitchesNothing)
{
    const std::vector<std::pair<uint8_t, Bytes>> valid = {
        {2, be16s({0, 8})},
        {3, be16s({0, 1})},
        {4, be16s({0, 7})},
        {4, be16s({7, 8})},
        {5, be16s({3, 0xFF00})},
        {15, Bytes{0, 0, 0, 8, 1, 0xFF}},
    };
    for (const auto& request : valid)
        for (size_t cut = 0; cut < request.second.size(); ++cut)
        {
            Bytes shortData(request.second.begin(), request.second.begin() + static_cast<long>(cut));
            Reply r = ask(request.first, shortData);
            EXPECT_EQ(request.first | 0x80, r.fc) << int(request.first) << " cut " << cut;
            EXPECT_EQ(3, r.exception()) << int(request.first) << " cut " << cut;
        }
    EXPECT_TRUE(writes.empty());
}
