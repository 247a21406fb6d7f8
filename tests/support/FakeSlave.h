#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <memory>

#include "cascade/processor/CascadeCtrlSender.h"
#include "cascade/processor/CascadeRelayType.h"
#include "support/ServerBoard.h"
#include "support/TestFrames.h"

class PduServer;
namespace CascadeCtrl
{
class CascadeCtrlMasterProcessorFactory;
class CascadeCtrlRelay;
}

namespace test
{
class RecordingSender;

// A unit built as the cascade master of the slaves at the given addresses on
// a ServerBoard (its cascade line read, its endpoint started when start()
// is called), and the slaves' end of the cascade pseudo-terminal played by
// the test.
class FakeSlave
{
public:
    // One request the master wrote, with when it was read (monotonic
    // seconds since start()).
    struct Request
    {
        uint8_t address = 0;
        uint16_t sequence = 0;
        Bytes payload;
        double at = -1;
    };

    explicit FakeSlave(const std::vector<int>& slaves = {1}, const std::function<void()>& adjust = nullptr);
    ~FakeSlave();

    ServerBoard& board() { return board_; }
    PduServer& server() { return *server_; }
    CascadeCtrl::CascadeCtrlMasterProcessorFactory& master();

    // Starts the master's endpoint (its first poll falls due 1.0 s later).
    void start();
    double now() const;
    // The next request within seconds (the loop runs meanwhile).
    bool next(Request& out, double seconds);
    // An answer frame for a request, or raw bytes, onto the line.
    void answer(const Request& to, const Bytes& payload);
    void send(const Bytes& bytes);
    // A client's request (QueryTime) for the slave at address, its answer
    // going to sender.
    std::shared_ptr<CascadeCtrl::CascadeCtrlRelay> relay(int address, CascadeRelayType type,
                                                         const std::shared_ptr<RecordingSender>& sender);

    // Answer payloads of the polls: identity (code 1 or 31) and status
    // (code 7 or 35, every outlet of count on/off by states).
    static Bytes identityAnswer(int code, const std::string& uid, const std::string& deviceName);
    static Bytes statusAnswer(int code, int outlets, uint64_t states);

private:
    ServerBoard board_;
    PduServer* server_ = nullptr;
    int line_ = -1;
    Bytes pending_;
    double started_ = 0;
};

// The client's end of a relay: what the master sent it.
class RecordingSender : public CascadeCtrl::CascadeCtrlSender
{
public:
    void sendLocal(const void* data, unsigned int length) override
    {
        sent.emplace_back(static_cast<const char*>(data), length);
    }
    std::vector<std::string> sent;
};
}
