#include "support/FakeSlave.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "GlobalData.h"
#include "PduServer.h"
#include "SerialPort.h"
#include "cascade/parser/CascadeCtrlCommandTypes.h"
#include "cascade/processor/CascadeCtrlMasterProcessorFactory.h"
#include "cascade/processor/CascadeCtrlQueryTimeRelay.h"
#include "muduo/base/Timestamp.h"
#include "muduo/net/Buffer.h"
#include "netext/WireWriter.h"
#include "platform/pmemu/PmPty.h"

namespace test
{
namespace
{
const size_t kHeader = 13;

double monotonicSeconds() { return static_cast<double>(muduo::Timestamp::now(true).microSecondsSinceEpoch()) / 1e6; }

// Cuts the first whole frame off bytes.
bool takeFrame(Bytes& bytes, Bytes& frame)
{
    if (bytes.size() < kHeader)
        return false;
    const size_t n = (size_t(bytes[5]) << 24) | (size_t(bytes[6]) << 16) | (size_t(bytes[7]) << 8) | bytes[8];
    if (bytes.size() < kHeader + n)
        return false;
    frame.assign(bytes.begin(), bytes.begin() + long(kHeader + n));
    bytes.erase(bytes.begin(), bytes.begin() + long(kHeader + n));
    return true;
}

template <int kCode>
Bytes written(const typename CascadeCtrl::CascadeCtrlCommandTypes<kCode>::Answer& answer)
{
    muduo::net::Buffer out;
    muduo::net::WireWriter w(out);
    w.u8(static_cast<uint8_t>(kCode));
    answer.write(w);
    return Bytes(out.peek(), out.peek() + out.readableBytes());
}

template <int kCode>
Bytes identity(const std::string& uid, const std::string& deviceName)
{
    typename CascadeCtrl::CascadeCtrlCommandTypes<kCode>::Answer a;
    a.data.uid = uid;
    a.data.names.names[-1] = deviceName;
    a.data.names.names[0] = deviceName + "-0";
    a.data.inputThreshold.threshold.mask = 0x01;
    a.data.inputThreshold.threshold.warnUpperVoltage = 250;
    a.data.inputThreshold.threshold.warnLowerVoltage = 190;
    a.data.firmware = "1.0.0";
    return written<kCode>(a);
}

template <int kCode>
Bytes status(int outlets, uint64_t states)
{
    typename CascadeCtrl::CascadeCtrlCommandTypes<kCode>::Answer a;
    a.data.parts = 0x07;
    a.data.states = static_cast<decltype(a.data.states)>(states);
    a.data.temperature = 21.5;
    a.data.humidity = 40.0;
    a.data.inlet.voltage = 230.1;
    a.data.inlet.current = 1.25;
    for (int n = 0; n < outlets; ++n)
        a.data.outlets[n].voltage = 230.1;
    return written<kCode>(a);
}
}

FakeSlave::FakeSlave(const std::vector<int>& slaves, const std::function<void()>& adjust)
{
    server_ = &board_.build([&] {
        _Device& device = GlobalData::getDevice();
        device.isMaster = true;
        device.address = 0;
        device.slaves.clear();
        for (int address : slaves)
            device.slaves[address].address = address;
        if (adjust)
            adjust();
    });
    server_->getCascadeSerialPort()->fileHandler()->startRead();
    line_ = board_.cascadeLine().masterFd();
    ::fcntl(line_, F_SETFL, ::fcntl(line_, F_GETFL) | O_NONBLOCK);
}

FakeSlave::~FakeSlave() = default;

CascadeCtrl::CascadeCtrlMasterProcessorFactory& FakeSlave::master()
{
    return dynamic_cast<CascadeCtrl::CascadeCtrlMasterProcessorFactory&>(*server_->getCascadeCtrlProcessorFactory());
}

void FakeSlave::start()
{
    started_ = monotonicSeconds();
    master().start();
}

double FakeSlave::now() const { return monotonicSeconds() - started_; }

bool FakeSlave::next(Request& out, double seconds)
{
    Bytes frame;
    auto got = [&] {
        unsigned char chunk[4096];
        for (ssize_t n; (n = ::read(line_, chunk, sizeof chunk)) > 0;)
            pending_.insert(pending_.end(), chunk, chunk + n);
        return takeFrame(pending_, frame);
    };
    if (!board_.runUntil(got, seconds))
        return false;
    out.at = now();
    EXPECT_TRUE(decodeCascadeFrame(frame, out.address, out.sequence, out.payload));
    return true;
}

void FakeSlave::answer(const Request& to, const Bytes& payload)
{
    send(cascadeFrame(to.address, to.sequence, payload));
}

void FakeSlave::send(const Bytes& bytes)
{
    ASSERT_EQ(static_cast<ssize_t>(bytes.size()), ::write(line_, bytes.data(), bytes.size()));
}

std::shared_ptr<CascadeCtrl::CascadeCtrlRelay> FakeSlave::relay(int address, CascadeRelayType type,
                                                                const std::shared_ptr<RecordingSender>& sender)
{
    auto made = std::make_shared<CascadeCtrl::CascadeCtrlQueryTimeRelay>(type);
    made->setTargetAddress(address);
    made->setSerialPort(server_->getCascadeSerialPort());
    made->setSender(sender);
    return made;
}

Bytes FakeSlave::identityAnswer(int code, const std::string& uid, const std::string& deviceName)
{
    return code == 31 ? identity<31>(uid, deviceName) : identity<1>(uid, deviceName);
}

Bytes FakeSlave::statusAnswer(int code, int outlets, uint64_t states)
{
    return code == 35 ? status<35>(outlets, states) : status<7>(outlets, states);
}
}
