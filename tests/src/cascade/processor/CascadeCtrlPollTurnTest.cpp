// The master's polls beside its clients' requests and silent slaves: the
// polls keep their turn whatever the relays, requests no slave could answer
// never reach the line, and a slave's silence is logged once at each end.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "GlobalData.h"
#include "cascade/processor/CascadeCtrlMasterProcessorFactory.h"
#include "support/FakeSlave.h"
#include "support/LogCapture.h"

namespace
{
using namespace CascadeCtrl;
using test::Bytes;
using test::FakeSlave;
typedef FakeSlave::Request Request;

const Bytes kTimeAnswer = {20, 0, 0x18, 0x0C, 0x1F, 0x17, 0x3B, 0x3A};

_SlaveDevice& slave(int address) { return GlobalData::getDevice().slaves.at(address); }
bool isPoll(const Request& r) { return r.payload.at(0) == 1 || r.payload.at(0) == 7; }

// The WARN lines that name the slave at address.
int warningsAbout(const test::LogCapture& log, int address)
{
    std::istringstream text(log.text());
    const std::string name = "addr:" + std::to_string(address) + " ";
    int n = 0;
    for (std::string line; std::getline(text, line);)
        n += line.find(" WARN ") != std::string::npos && line.find(name) != std::string::npos;
    return n;
}

// The slaves' end of the line: those answering reply to every request
// (identity, status with their outlet states, a client's time query, unless
// relays are ignored), the others say nothing. Everything written is kept.
struct Slaves
{
    explicit Slaves(const std::vector<int>& addresses) : line(addresses) {}

    // Serves until done or seconds pass, calling tick before each short wait.
    bool serve(const std::function<bool()>& done, double seconds, const std::function<void()>& tick = nullptr)
    {
        for (const double end = line.now() + seconds; line.now() < end;)
        {
            if (done && done())
                return true;
            if (tick)
                tick();
            Request r;
            if (!line.next(r, 0.05))
                continue;
            written.push_back(r);
            if (!answering.count(r.address) || (ignoreRelays && !isPoll(r)))
                continue;
            if (r.payload.at(0) == 1)
                line.answer(r, FakeSlave::identityAnswer(1, "G020300000000001", "s"));
            else if (r.payload.at(0) == 7)
                line.answer(r, FakeSlave::statusAnswer(7, 8, states[r.address]));
            else
                line.answer(r, kTimeAnswer);
        }
        return done && done();
    }
    int pollsOf(int address, size_t from = 0) const
    {
        int n = 0;
        for (size_t i = from; i < written.size(); ++i)
            n += written[i].address == address && isPoll(written[i]);
        return n;
    }

    FakeSlave line;
    std::set<int> answering;
    std::map<int, uint64_t> states;
    bool ignoreRelays = false;
    std::vector<Request> written;
};
}

TEST(CascadeCtrlPollTurn, PollsKeepTheirTurnWhileAClientRelaysFiveTimesASecond)
{
    Slaves chain({1, 2});
    chain.answering = {1, 2};
    chain.line.start();
    ASSERT_TRUE(chain.serve([] { return slave(1).valid && slave(2).valid; }, 5));
    auto client = std::make_shared<test::RecordingSender>();
    int sent = 0;
    double nextAt = chain.line.now();
    auto relayEveryFifth = [&] {
        if (chain.line.now() < nextAt)
            return;
        chain.line.master().addCascadeCtrlRelay(chain.line.relay(1, kCascadeRelayMgrCtrl, client));
        ++sent;
        nextAt += 0.2;
    };
    const size_t from = chain.written.size();
    // Slave 1's outlets change five times; each time the master's record of
    // it follows by its second status poll after the change.
    for (int change = 1; change <= 5; ++change)
    {
        SCOPED_TRACE(change);
        chain.states[1] = uint64_t(1) << change;
        const int before = chain.pollsOf(1);
        ASSERT_TRUE(chain.serve([&] { return chain.pollsOf(1) >= before + 2; }, 15, relayEveryFifth));
        EXPECT_EQ(chain.states[1], slave(1).status.onOffMask);
    }
    ASSERT_TRUE(chain.serve([&] { return int(client->sent.size()) == sent; }, 5));
    EXPECT_GE(sent, 10);
    // The polls went 1, 2, 1, 2, ... as if no relay had come.
    int last = 0, polls = 0;
    for (size_t i = from; i < chain.written.size(); ++i)
    {
        if (!isPoll(chain.written[i]))
            continue;
        EXPECT_NE(last, chain.written[i].address) << "poll " << polls;
        last = chain.written[i].address;
        ++polls;
    }
    EXPECT_GE(polls, 10);
}

TEST(CascadeCtrlPollTurn, EveryRequestForTheAnsweringSlaveIsAnsweredBesideAFloodForSilentOnes)
{
    Slaves chain({1, 2, 3, 4, 5, 6, 7, 8});
    chain.answering = {1};
    chain.line.start();
    // One turn of the list: slaves 2 to 8 have been asked and said nothing.
    ASSERT_TRUE(chain.serve([&] { return chain.pollsOf(8) >= 1 && chain.pollsOf(1) >= 2; }, 30));
    auto flood = std::make_shared<test::RecordingSender>();
    auto asker = std::make_shared<test::RecordingSender>();
    int asked = 0;
    double nextAt = chain.line.now();
    const size_t from = chain.written.size();
    ASSERT_TRUE(chain.serve([&] { return asked == 10; }, 30, [&] {
        for (int address = 2; address <= 8; ++address)
            chain.line.master().addCascadeCtrlRelay(chain.line.relay(address, kCascadeRelayWeb, flood));
        if (chain.line.now() >= nextAt)
        {
            chain.line.master().addCascadeCtrlRelay(chain.line.relay(1, kCascadeRelayMgrCtrl, asker));
            ++asked;
            nextAt += 0.5;
        }
    }));
    EXPECT_TRUE(chain.serve([&] { return asker->sent.size() == 10; }, 10));
    EXPECT_TRUE(flood->sent.empty());
    // Only polls went to the silent slaves.
    for (size_t i = from; i < chain.written.size(); ++i)
        EXPECT_TRUE(chain.written[i].address == 1 || isPoll(chain.written[i])) << i;
}

TEST(CascadeCtrlPollTurn, ARequestForAnAddressWithoutASlaveIsRefusedAtOnceWhateverTheLine)
{
    // No slaves: the line is free and stays so.
    {
        FakeSlave line(std::vector<int>{});
        line.start();
        test::LogCapture log;
        auto client = std::make_shared<test::RecordingSender>();
        line.master().addCascadeCtrlRelay(line.relay(7, kCascadeRelayMgrCtrl, client));
        EXPECT_EQ(1, log.count("no such slave: request for addr:7 dropped"));
        Request r;
        EXPECT_FALSE(line.next(r, 1.5));
        EXPECT_EQ(CascadeCtrlMasterProcessorFactory::kInfoDue, line.master().state());
    }
    // Slave 1 on record: before its first poll (a free line) and while a
    // poll is awaited; only the polls go out.
    Slaves chain({1});
    chain.answering = {1};
    test::LogCapture log;
    auto client = std::make_shared<test::RecordingSender>();
    chain.line.start();
    chain.line.master().addCascadeCtrlRelay(chain.line.relay(9, kCascadeRelayMgrCtrl, client));
    Request poll;
    ASSERT_TRUE(chain.line.next(poll, 2));
    chain.line.master().addCascadeCtrlRelay(chain.line.relay(9, kCascadeRelayWeb, client));
    EXPECT_EQ(0u, chain.line.master().queuedRelays());
    chain.line.answer(poll, FakeSlave::identityAnswer(1, "G020300000000001", "s"));
    chain.serve(nullptr, 2);
    EXPECT_EQ(2, log.count("no such slave: request for addr:9 dropped"));
    for (const Request& r : chain.written)
        EXPECT_EQ(1, r.address);
    EXPECT_TRUE(client->sent.empty());
}

TEST(CascadeCtrlPollTurn, ASlavesSilenceIsLoggedOnceAndItsReturnOnce)
{
    Slaves chain({1, 2});
    chain.answering = {1};
    test::LogCapture log;
    chain.line.start();
    // Slave 2, silent from the start, is asked at its every turn.
    ASSERT_TRUE(chain.serve([&] { return chain.pollsOf(2) >= 4; }, 20));
    EXPECT_EQ(1, log.count("addr:2 timeout"));
    EXPECT_EQ(1, warningsAbout(log, 2));
    EXPECT_EQ(0, warningsAbout(log, 1));
    // A client asking it on and on, over its next poll, is refused each
    // time: one line.
    auto asker = std::make_shared<test::RecordingSender>();
    int asked = 0;
    auto ask2 = [&] {
        ++asked;
        chain.line.master().addCascadeCtrlRelay(chain.line.relay(2, kCascadeRelayMgrCtrl, asker));
    };
    ASSERT_TRUE(chain.serve([&] { return chain.pollsOf(2) >= 5; }, 10, ask2));
    EXPECT_EQ(2, warningsAbout(log, 2));
    // It answers and is relayed to again, then falls silent again, then stays so.
    chain.answering.insert(2);
    ASSERT_TRUE(chain.serve([] { return slave(2).valid; }, 5));
    EXPECT_EQ(1, log.count("addr:2 answers again; requests refused meanwhile: " + std::to_string(asked)));
    ask2();
    ASSERT_TRUE(chain.serve([&] { return asker->sent.size() == 1; }, 5));
    chain.answering.erase(2);
    const int polls = chain.pollsOf(2);
    ASSERT_TRUE(chain.serve([&] { return chain.pollsOf(2) >= polls + 3; }, 15));
    ASSERT_TRUE(chain.serve([&] { return chain.pollsOf(2) >= polls + 4; }, 10, ask2));
    EXPECT_EQ(2, log.count("addr:2 timeout"));
    EXPECT_EQ(2, log.count("the slave missed its last answer: request for addr:2 dropped"));
    EXPECT_EQ(5, warningsAbout(log, 2));
    // A client's request that slave 1 leaves unanswered: it has gone silent,
    // once; a second request is refused; its identity poll brings it back.
    auto client = std::make_shared<test::RecordingSender>();
    chain.ignoreRelays = true;
    chain.line.master().addCascadeCtrlRelay(chain.line.relay(1, kCascadeRelayWeb, client));
    ASSERT_TRUE(chain.serve([] { return !slave(1).valid; }, 5));
    chain.line.master().addCascadeCtrlRelay(chain.line.relay(1, kCascadeRelayWeb, client));
    EXPECT_EQ(1, log.count("the slave missed its last answer: request for addr:1 dropped"));
    ASSERT_TRUE(chain.serve([] { return slave(1).valid; }, 10));
    EXPECT_EQ(1, log.count("addr:1 timeout"));
    EXPECT_EQ(1, log.count("addr:1 answers again"));
    EXPECT_TRUE(client->sent.empty());
    EXPECT_EQ(5, warningsAbout(log, 2));
}
