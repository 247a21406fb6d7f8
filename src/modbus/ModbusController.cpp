#include "modbus/ModbusController.h"

#include "modbus/ModbusParser.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"
#include "netext/WireReader.h"

namespace modbus
{
namespace
{
enum InletRegister
{
    kInletVoltage = 0,
    kInletCurrent = 1,
    kInletPower = 2,
    kInletFactor = 3,
    kInletEnergy = 4,
    kOutletCount = 6,
};
}

ModbusController::ModbusController(muduo::net::EventLoop* loop) : loop_(loop), outletCount_(0)
{
    module_.setCoilWriteCallback(
        [this](const unsigned char* states, int first, int count) { return onCoilsWritten(states, first, count); });
}

ModbusController::~ModbusController() = default;

void ModbusController::init(int outletCount)
{
    // The virtual blocks have room for kVirtualOutlets outlets each.
    int n = outletCount < 0 ? 0 : outletCount;
    if (n > kVirtualOutlets)
    {
        LOG_ERROR << "modbus outlet count " << outletCount << " cut to " << kVirtualOutlets;
        n = kVirtualOutlets;
    }
    const int v = kVirtualOutlets;
    const int first = kFirstOutletRegister;
    outletCount_ = n;
    blocks_ = {
        {first, first, first + v - 1, 1},
        {n + first, first + v, first + 2 * v - 1, 1},
        {2 * n + first, first + 2 * v, first + 3 * v - 1, 1},
        {3 * n + first, first + 3 * v, first + 4 * v - 1, 1},
        {4 * n + first, first + 4 * v, first + 6 * v - 1, 2},
        {6 * n + first, first + 6 * v, first + 6 * v, 1},
        {6 * n + first + 1, first + 6 * v + 1, first + 6 * v + 1, 1},
    };
    const int registers = 6 * n + 9;
    LOG_INFO << "realInputRegisterNum:" << registers;
    module_.allocMem(n, n, 0, registers);
}

void ModbusController::addParser(const std::string& connectionName)
{
    if (parsers_.find(connectionName) == parsers_.end())
        parsers_[connectionName] = std::make_shared<ModbusParser>(loop_, this);
}

void ModbusController::deleteParser(const std::string& connectionName) { parsers_.erase(connectionName); }

int ModbusController::parse(const std::string& connectionName, const char* data, int length,
                            muduo::net::Buffer& reply)
{
    auto it = parsers_.find(connectionName);
    if (it == parsers_.end())
    {
        LOG_INFO << "no modbus parser for " << connectionName;
        return 0;
    }
    // The parser may be deleted by a callback of the request it runs.
    std::shared_ptr<ModbusParser> parser = it->second;
    return parser->parse(data, length, reply);
}

void ModbusController::respond(const ReqInfo_* info, const char* pdu, int length, muduo::net::Buffer& reply)
{
    muduo::net::WireReader in(pdu, length > 0 ? static_cast<size_t>(length) : 0);
    int16_t start = 0;
    in.be16(start);
    if (info->functionCode != kReadInputRegisters || start < kFirstOutletRegister)
        return module_.respond(info, start, pdu, length, reply);

    LOG_INFO << "start:" << start;
    const Block* block = findBlock(start);
    if (!block)
        return module_.respondErrcode(info, kIllegalDataAddress, reply);
    LOG_INFO << "virtual input start:" << block->virtualStart;
    uint16_t quantity = 0;
    if (!in.be16(quantity))
        return module_.respondErrcode(info, kIllegalDataValue, reply);
    const int offset = start - block->virtualStart;
    if (offset + quantity > block->registersPerOutlet * outletCount_)
    {
        LOG_INFO << "illegal addr";
        return module_.respondErrcode(info, kIllegalDataAddress, reply);
    }
    const int realStart = block->realStart + offset;
    LOG_INFO << "real input start:" << realStart;
    module_.respond(info, static_cast<short>(realStart), pdu, length, reply);
}

const ModbusController::Block* ModbusController::findBlock(int virtualAddress) const
{
    for (const Block& b : blocks_)
        if (virtualAddress >= b.virtualStart && virtualAddress <= b.virtualEnd)
            return &b;
    return nullptr;
}

bool ModbusController::onCoilsWritten(const unsigned char* states, int first, int count)
{
    return !outputControlCallback_ || outputControlCallback_(states, first, count);
}

bool ModbusController::setRegister(int address, unsigned short value)
{
    return module_.setInputRegisters(address, &value, 1);
}

bool ModbusController::setDoubleRegister(int address, unsigned int value)
{
    const unsigned short words[2] = {static_cast<unsigned short>(value >> 16),
                                     static_cast<unsigned short>(value & 0xFFFF)};
    return module_.setInputRegisters(address, words, 2);
}

bool ModbusController::outletRegister(BlockIndex block, int outlet, int& address) const
{
    if (outlet < 0 || outlet >= outletCount_ || blocks_.size() != kBlockCount)
        return false;
    address = blocks_[block].realStart + blocks_[block].registersPerOutlet * outlet;
    return true;
}

bool ModbusController::setOutletRegister(BlockIndex block, int outlet, unsigned short value)
{
    int address = 0;
    return outletRegister(block, outlet, address) && setRegister(address, value);
}

bool ModbusController::setInputVoltage(unsigned short value) { return setRegister(kInletVoltage, value); }
bool ModbusController::setInputCurrent(unsigned short value) { return setRegister(kInletCurrent, value); }
bool ModbusController::setInputPower(unsigned short value) { return setRegister(kInletPower, value); }
bool ModbusController::setInputFactor(unsigned short value) { return setRegister(kInletFactor, value); }
bool ModbusController::setInputEnergy(unsigned int value) { return setDoubleRegister(kInletEnergy, value); }
bool ModbusController::setOutputNum(unsigned short value) { return setRegister(kOutletCount, value); }

bool ModbusController::setOutputVoltage(int outlet, unsigned short value) { return setOutletRegister(kVoltages, outlet, value); }
bool ModbusController::setOutputCurrent(int outlet, unsigned short value) { return setOutletRegister(kCurrents, outlet, value); }
bool ModbusController::setOutputPower(int outlet, unsigned short value) { return setOutletRegister(kPowers, outlet, value); }
bool ModbusController::setOutputFactor(int outlet, unsigned short value) { return setOutletRegister(kFactors, outlet, value); }

bool ModbusController::setOutputEnergy(int outlet, unsigned int value)
{
    int address = 0;
    return outletRegister(kEnergies, outlet, address) && setDoubleRegister(address, value);
}

bool ModbusController::setTemperature(unsigned short value)
{
    return blocks_.size() == kBlockCount && setRegister(blocks_[kTemperature].realStart, value);
}

bool ModbusController::setHumidity(unsigned short value)
{
    return blocks_.size() == kBlockCount && setRegister(blocks_[kHumidity].realStart, value);
}

bool ModbusController::setOutputStatus(int first, const unsigned char* states, int count)
{
    return module_.setInputBits(first, states, count);
}
}
