#pragma once
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "modbus/ModbusModule.h"
#include "muduo/base/noncopyable.h"

namespace muduo
{
namespace net
{
class Buffer;
class EventLoop;
}
}

namespace modbus
{
class ModbusParser;

// The Modbus/TCP slave: one frame reassembler per connection, the register
// tables kept current through the setters, and the fixed virtual addresses
// of the outlet blocks that clients read whatever the outlet count.
class ModbusController : muduo::noncopyable
{
public:
    // (coil states from the first written coil, first outlet, count);
    // false refuses the write (answered as a server device failure).
    typedef std::function<bool(const unsigned char* states, int first, int count)> OutputControlCallback;

    // Clients see each outlet block at a fixed address with room for
    // kVirtualOutlets outlets, whatever this unit's outlet count.
    static const int kFirstOutletRegister = 7;
    static const int kVirtualOutlets = 200;

    explicit ModbusController(muduo::net::EventLoop* loop);
    ~ModbusController();

    void init(int outletCount);
    void setOutputControlCallback(OutputControlCallback cb) { outputControlCallback_ = std::move(cb); }

    void addParser(const std::string& connectionName);
    void deleteParser(const std::string& connectionName);
    // The number of whole requests the bytes completed on the connection.
    int parse(const std::string& connectionName, const char* data, int length, muduo::net::Buffer& reply);
    // One whole request: pdu holds the length bytes after the function code.
    void respond(const ReqInfo_* info, const char* pdu, int length, muduo::net::Buffer& reply);

    bool setInputVoltage(unsigned short value);
    bool setInputCurrent(unsigned short value);
    bool setInputPower(unsigned short value);
    bool setInputFactor(unsigned short value);
    bool setInputEnergy(unsigned int value);
    bool setOutputNum(unsigned short value);
    bool setOutputVoltage(int outlet, unsigned short value);
    bool setOutputCurrent(int outlet, unsigned short value);
    bool setOutputPower(int outlet, unsigned short value);
    bool setOutputFactor(int outlet, unsigned short value);
    bool setOutputEnergy(int outlet, unsigned int value);
    bool setTemperature(unsigned short value);
    bool setHumidity(unsigned short value);
    bool setOutputStatus(int first, const unsigned char* states, int count);

    const ModbusModule& module() const { return module_; }
    size_t parserCount() const { return parsers_.size(); }

private:
    struct Block
    {
        int realStart;
        int virtualStart;
        int virtualEnd;
        int registersPerOutlet;
    };
    enum BlockIndex
    {
        kVoltages,
        kCurrents,
        kPowers,
        kFactors,
        kEnergies,
        kTemperature,
        kHumidity,
        kBlockCount
    };

    bool onCoilsWritten(const unsigned char* states, int first, int count);
    bool setRegister(int address, unsigned short value);
    bool setDoubleRegister(int address, unsigned int value);
    // The outlet's register in a block; false for an outlet this unit lacks.
    bool outletRegister(BlockIndex block, int outlet, int& address) const;
    bool setOutletRegister(BlockIndex block, int outlet, unsigned short value);
    const Block* findBlock(int virtualAddress) const;

    muduo::net::EventLoop* loop_;
    ModbusModule module_;
    std::unordered_map<std::string, std::shared_ptr<ModbusParser>> parsers_;
    std::vector<Block> blocks_;
    int outletCount_;
    OutputControlCallback outputControlCallback_;
};
}
