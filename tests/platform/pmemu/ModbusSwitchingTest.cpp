// Coil writes switching the emulated module's relays, and its output status
// coming back as discrete inputs (the wiring the composition root makes).
#include "PowerModuleFixture.h"
#include "modbus/ModbusController.h"
#include "src/modbus/ModbusFrames.h"

using namespace mbtest;

namespace
{
class ModbusSwitchingTest : public pmtest::PowerModuleFixture
{
protected:
    void SetUp() override
    {
        PowerModuleFixture::SetUp();
        makeContainer();
        modbus = std::make_unique<modbus::ModbusController>(&loop);
        modbus->init(8);
        modbus->addParser("c");
        modbus->setOutputControlCallback([this](const unsigned char* states, int first, int count) {
            for (int p = first; p < first + count; ++p)
                states[p - first] ? container->turnOnPort(p, true) : container->turnOffPort(p, true);
            return true;
        });
        container->setOutputStatusCallback([this](int module, int count, unsigned char onOff, unsigned char) {
            unsigned char bits[8] = {};
            for (int i = 0; i < count && i < 8; ++i)
                bits[i] = (onOff >> i) & 1;
            modbus->setOutputStatus(module * 8, bits, count < 8 ? count : 8);
        });
        container->startQueryAllOutputsStatus(0.1);
    }

    void TearDown() override
    {
        modbus.reset();
        PowerModuleFixture::TearDown();
    }

    Reply ask(uint8_t fc, const Bytes& data)
    {
        std::string request = frame(fc, data);
        muduo::net::Buffer reply;
        modbus->parse("c", request.data(), static_cast<int>(request.size()), reply);
        std::vector<Reply> replies = takeReplies(reply);
        return replies.size() == 1 ? replies[0] : Reply();
    }
    uint8_t discreteInputs() { return ask(2, be16s({0, 8})).data.at(1); }

    std::unique_ptr<modbus::ModbusController> modbus;
};
}

TEST_F(ModbusSwitchingTest, CoilWritesSwitchRelaysAndInputsFollow)
{
    EXPECT_EQ(5, ask(5, be16s({3, 0xFF00})).fc);
    ASSERT_TRUE(runUntil([&] { return emu.relayBits() == 0x08; }, 3.0));
    ASSERT_TRUE(runUntil([&] { return discreteInputs() == 0x08; }, 3.0));

    Bytes data = be16s({0, 8});
    data.insert(data.end(), {1, 0x05});
    EXPECT_EQ(15, ask(15, data).fc);
    ASSERT_TRUE(runUntil([&] { return emu.relayBits() == 0x05; }, 3.0));
    ASSERT_TRUE(runUntil([&] { return discreteInputs() == 0x05; }, 3.0));

    // A refused request switches nothing.
    data = be16s({0, 8});
    data.insert(data.end(), {2, 0xFF});
    EXPECT_EQ(3, ask(15, data).exception());
    runFor(0.5);
    EXPECT_EQ(0x05, emu.relayBits());
}
