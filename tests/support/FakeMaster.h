#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/ServerBoard.h"
#include "support/TestFrames.h"

class PduServer;

namespace test
{
// A unit built as a cascade slave at kAddress on a ServerBoard (started: its
// outlets and cascade line read, its endpoint at its address), and the
// master's end of the cascade pseudo-terminal played by the test.
class FakeMaster
{
public:
    static const uint8_t kAddress = 3;

    // adjust may change the device record before the server is built.
    explicit FakeMaster(const std::function<void()>& adjust = nullptr);
    ~FakeMaster();

    ServerBoard& board() { return board_; }
    PduServer& server() { return *server_; }

    // Sends one request under the next sequence number; the answer's payload,
    // or nothing when no answer came within seconds. An answer whose
    // address or sequence differ from the request's, or whose payload its
    // code's answer struct does not read back exactly, fails the test.
    Bytes ask(const Bytes& payload, double seconds = 2.0, uint8_t address = kAddress);
    // Each cut of a request (its first 1 to n-1 bytes) is refused: a log
    // line, no answer.
    void refusesEveryCut(const Bytes& payload);
    // Raw bytes onto the line.
    void send(const Bytes& bytes);
    // Bytes the slave wrote, within seconds.
    Bytes receive(double seconds);

    uint16_t sequence = 0;

private:
    ServerBoard board_;
    PduServer* server_ = nullptr;
    int line_ = -1;
};

// One request of a table and what it must bring: the answer's payload as
// hex ("" for no answer), with set-up before and checks of the lasting
// effect after.
struct CascadeStep
{
    CascadeStep(std::string n, std::string q, std::string a, std::function<void()> b = nullptr,
                std::function<void()> c = nullptr)
        : name(std::move(n)), request(std::move(q)), answer(std::move(a)), before(std::move(b)), after(std::move(c))
    {
    }

    std::string name;
    std::string request;
    std::string answer;
    std::function<void()> before;
    std::function<void()> after;
};
// Asks each step in order (state carries over from step to step); every
// cut of a request that is answered must be refused.
void askEach(FakeMaster& master, const std::vector<CascadeStep>& steps);

// "0A 0B" to bytes (spaces are skipped).
Bytes fromHex(const std::string& text);
// hex, times times over.
std::string repeatHex(const std::string& hex, int times);
// The first column of the first row of a query on a board database.
std::string boardSql(const std::string& query, const std::string& database = "pdu.db");
// A 16-byte text field as hex: the text's first 16 bytes, zeros after.
std::string field16(const std::string& text);
// True when the code's answer struct reads the payload (code byte first)
// to its end and writes the same bytes again, and reads no cut of it as
// more than the cut holds.
bool answerReadsBack(const Bytes& payload);
}
