// The master's poll scheduler against slaves played by the test on the far
// end of its cascade line: poll timing and sequences, time-outs (silence,
// bytes from another address, the cap on an answer that keeps trickling) and
// invalid marking, relays with their replies, the queue and its bound.
#include <gtest/gtest.h>

#include "GlobalData.h"
#include "SharedMemory.h"
#include "cascade/processor/CascadeCtrlMasterProcessorFactory.h"
#include "cascade/processor/CascadeCtrlRelays.h"
#include "support/FakeSlave.h"
#include "support/LogCapture.h"

namespace
{
using namespace CascadeCtrl;
using test::Bytes;
using test::FakeSlave;
typedef FakeSlave::Request Request;
const size_t kShare = CascadeCtrlRelayQueue::kMaxPerSlave;

const Bytes kStatusPoll = {0x07, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

_SlaveDevice& slave(int address) { return GlobalData::getDevice().slaves.at(address); }

// Answers the identity poll of every slave once, so that all are valid.
void bringUp(FakeSlave& line, int slaves)
{
    Request r;
    for (int i = 0; i < slaves; ++i)
    {
        ASSERT_TRUE(line.next(r, 2.5));
        ASSERT_EQ(1, r.payload.at(0));
        line.answer(r, FakeSlave::identityAnswer(1, "G020300000000001", "s"));
    }
}

// Sends a client's request to slave 1, then trickles a frame from address
// from that never ends, a chunk every period seconds, until slave 1 turns
// invalid or limit seconds pass: the seconds from the send to the time-out,
// or -1.
double timeOutWhileTrickling(FakeSlave& line, uint8_t from, double period, double limit,
                             const std::shared_ptr<test::RecordingSender>& client)
{
    line.master().addCascadeCtrlRelay(line.relay(1, kCascadeRelayMgrCtrl, client));
    Request r;
    if (!line.next(r, 0.1))
        return -1;
    Bytes answer = {24, 0xFF, 0xFF};  // an event log longer than the wait
    answer.resize(60000);
    const Bytes frame = test::cascadeFrame(from, r.sequence, answer);
    const size_t chunk = 50;  // a partial frame is kept 0.5 s after its last chunk
    for (size_t at = 0; at + chunk <= frame.size() && line.now() - r.at < limit; at += chunk)
    {
        line.send(Bytes(frame.begin() + long(at), frame.begin() + long(at + chunk)));
        if (line.board().runUntil([] { return !slave(1).valid; }, period))
            return line.now() - r.at;
    }
    return -1;
}
}

TEST(CascadeCtrlMaster, PollsEachSlaveForIdentityThenStatusWithOneSequence)
{
    FakeSlave line({1, 2});
    line.start();
    Request r[6];
    const double pauses[6] = {1.0, 1.0, 0.5, 0.5, 0.5, 0.5};
    const int addresses[6] = {1, 2, 1, 2, 1, 2};
    double answered = 0;
    for (int i = 0; i < 6; ++i)
    {
        SCOPED_TRACE(i);
        ASSERT_TRUE(line.next(r[i], 2.0));
        EXPECT_EQ(addresses[i], r[i].address);
        EXPECT_NEAR(pauses[i], r[i].at - answered, 0.1);
        EXPECT_EQ(uint16_t(i == 0 ? r[0].sequence : r[i - 1].sequence + 1), r[i].sequence);
        if (i < 2)
            line.answer(r[i], FakeSlave::identityAnswer(1, "G020300000000001", "slave" + std::to_string(i + 1)));
        else
        {
            EXPECT_EQ(kStatusPoll, r[i].payload);
            line.answer(r[i], FakeSlave::statusAnswer(7, 8, 0x05));
        }
        answered = line.now();
    }
    ASSERT_TRUE(line.board().runUntil([] { return slave(2).status.onOffMask == 0x05; }, 1));
    EXPECT_TRUE(slave(1).valid && slave(2).valid);
    EXPECT_EQ(8, slave(1).portCount);
    EXPECT_EQ("slave2", slave(2).deviceName);
    EXPECT_EQ("slave2-0", slave(2).portNames[0]);
    EXPECT_EQ(2, slave(2).pollIndex);
    int state = -1;
    SharedMemory& mirror = SharedMemory::instance();
    if (mirror.attached())
    {
        EXPECT_TRUE(mirror.getCascadeOutletPortStatus(2, 2, state));
        EXPECT_EQ(1, state);
        EXPECT_TRUE(mirror.getCascadeOutletPortStatus(2, 1, state));
        EXPECT_EQ(0, state);
    }
}

TEST(CascadeCtrlMaster, ASlaveThatMissesAnAnswerTurnsInvalidAndIsAskedForIdentityAgain)
{
    FakeSlave line({1});
    line.start();
    bringUp(line, 1);
    Request status, again;
    ASSERT_TRUE(line.next(status, 1.0));
    ASSERT_EQ(kStatusPoll, status.payload);
    EXPECT_TRUE(slave(1).valid);
    test::LogCapture log;
    ASSERT_TRUE(line.next(again, 3.0));
    EXPECT_TRUE(log.contains("addr:1 timeout"));
    EXPECT_FALSE(slave(1).valid);
    EXPECT_EQ(1, again.payload.at(0));
    EXPECT_NEAR(2.0, again.at - status.at, 0.1);  // 1.0 s time-out, 1.0 s pause
    bool valid = false;
    EXPECT_TRUE(!SharedMemory::instance().getCascadeDeviceValid(1, valid) || !valid);
}

TEST(CascadeCtrlMaster, AWideSlaveIsAskedTheExtIdentityAndItsStatusWithSixtyFourBits)
{
    FakeSlave line({5});
    line.start();
    Request r;
    ASSERT_TRUE(line.next(r, 2.0));
    line.answer(r, FakeSlave::identityAnswer(1, "G0A0300000000001", "wide"));  // 32 outlets
    const double answered = line.now();
    ASSERT_TRUE(line.next(r, 2.0));
    EXPECT_EQ(Bytes{31}, r.payload);
    EXPECT_NEAR(0.5, r.at - answered, 0.1);
    line.answer(r, FakeSlave::identityAnswer(31, "G0A0300000000001", "wide"));
    ASSERT_TRUE(line.next(r, 2.0));
    EXPECT_EQ(Bytes({35, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), r.payload);
    line.answer(r, FakeSlave::statusAnswer(35, 32, 0x80000001ULL));
    ASSERT_TRUE(line.board().runUntil([] { return slave(5).status.onOffMask == 0x80000001ULL; }, 1));
    EXPECT_EQ(32, slave(5).portCount);
}

TEST(CascadeCtrlMaster, TheStatusPollIsTheExtOneFromThirtyTwoOutletsOn)
{
    FakeSlave line({1, 2});
    line.start();
    bringUp(line, 2);
    ASSERT_TRUE(line.board().runUntil([] { return slave(2).valid; }, 1));
    // No identity string gives 31 outlets: the records are set as a poll could leave them.
    slave(1).portCount = 31;
    slave(2).portCount = 32;
    const Bytes wideStatusPoll = {35, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    Request r;
    ASSERT_TRUE(line.next(r, 1.0));
    EXPECT_EQ(1, r.address);
    EXPECT_EQ(kStatusPoll, r.payload);
    line.answer(r, FakeSlave::statusAnswer(7, 31, 0x40000001));
    ASSERT_TRUE(line.next(r, 1.0));
    EXPECT_EQ(2, r.address);
    EXPECT_EQ(wideStatusPoll, r.payload);
    line.answer(r, FakeSlave::statusAnswer(35, 32, 0x80000001));
    ASSERT_TRUE(line.board().runUntil([] { return slave(2).status.onOffMask == 0x80000001; }, 1));
    EXPECT_EQ(0x40000001u, slave(1).status.onOffMask);
}

TEST(CascadeCtrlMaster, RelaysGoOutAtOnceOrAfterTheAnswerAwaitedAndReachTheirClients)
{
    FakeSlave line({1});
    line.start();
    bringUp(line, 1);
    auto web = std::make_shared<test::RecordingSender>();
    auto mgr = std::make_shared<test::RecordingSender>();
    // Idle (a status poll is due): the relay is written at once.
    line.master().addCascadeCtrlRelay(line.relay(1, kCascadeRelayWeb, web));
    Request r;
    ASSERT_TRUE(line.next(r, 0.1));
    EXPECT_EQ(Bytes{20}, r.payload);
    line.answer(r, {22, 0});  // any code's answer goes to its own processor
    ASSERT_TRUE(line.board().runUntil([&] { return !web->sent.empty(); }, 1));
    EXPECT_EQ("{\"response\":13,\"result\":0}", web->sent.at(0));
    // The status poll that was due goes when it falls due.
    Request poll;
    ASSERT_TRUE(line.next(poll, 1.0));
    EXPECT_EQ(kStatusPoll, poll.payload);
    EXPECT_EQ(1, poll.address);
    EXPECT_EQ(uint16_t(r.sequence + 1), poll.sequence);
    // While a poll is awaited a relay waits, and goes out right after it.
    test::LogCapture log;
    line.master().addCascadeCtrlRelay(line.relay(1, kCascadeRelayMgrCtrl, mgr));
    EXPECT_EQ(1u, line.master().queuedRelays());
    line.answer(poll, FakeSlave::statusAnswer(7, 8, 0));
    ASSERT_TRUE(line.next(r, 0.2));
    EXPECT_EQ(Bytes{20}, r.payload);
    EXPECT_EQ(1, log.count("get relay from queue"));
    EXPECT_EQ(0, log.count("transfer remote"));
    line.answer(r, {2, 0xFF, 0, 0, 0, 0xFF});
    ASSERT_TRUE(line.board().runUntil([&] { return !mgr->sent.empty(); }, 1));
    EXPECT_EQ(test::mgrCtrlFrame(0, std::string("\x2E\x01\xFF", 3), 0), mgr->sent.at(0));
}

TEST(CascadeCtrlMaster, AnAnswerWithAnotherSequenceAbandonsTheRequestAndALateOneIsIgnored)
{
    FakeSlave line({1});
    line.start();
    bringUp(line, 1);
    auto web = std::make_shared<test::RecordingSender>();
    line.master().addCascadeCtrlRelay(line.relay(1, kCascadeRelayWeb, web));
    Request r;
    ASSERT_TRUE(line.next(r, 0.1));
    test::LogCapture log;
    Request wrong = r;
    ++wrong.sequence;
    line.answer(wrong, {22, 0});
    ASSERT_TRUE(line.board().runUntil([&] { return log.contains("seq mismatch"); }, 1));
    line.answer(r, {22, 0});  // now late: no request awaits it
    Request poll;
    ASSERT_TRUE(line.next(poll, 1.0));
    EXPECT_TRUE(web->sent.empty());
    EXPECT_TRUE(slave(1).valid);
    EXPECT_EQ(kStatusPoll, poll.payload);
}

TEST(CascadeCtrlMaster, ARelayedAnswerStillArrivingOutlivesTheTimeOutButASilentSlaveDoesNot)
{
    FakeSlave line({1});
    line.start();
    bringUp(line, 1);
    auto web = std::make_shared<test::RecordingSender>();
    line.master().addCascadeCtrlRelay(line.relay(1, kCascadeRelayMgrCtrl, web));
    Request r;
    ASSERT_TRUE(line.next(r, 0.1));
    // 1,000 event-log rows at the line's pace: 3.4 s in all.
    Bytes answer = {24, 0x03, 0xE8};
    for (int row = 0; row < 1000; ++row)
        answer.insert(answer.end(), {0, 0, 0, uint8_t(row), 24, 1, 2, 3, 4, 5, 1, 0xFF, 7});
    const Bytes frame = test::cascadeFrame(r.address, r.sequence, answer);
    const size_t chunk = 384;
    for (size_t at = 0; at < frame.size(); at += chunk)
    {
        line.send(Bytes(frame.begin() + long(at), frame.begin() + long(std::min(frame.size(), at + chunk))));
        line.board().runUntil([] { return false; }, 0.1);
    }
    ASSERT_TRUE(line.board().runUntil([&] { return !web->sent.empty(); }, 1));
    EXPECT_EQ(7u + 4 + 13000, web->sent.at(0).size());  // frame header, 0x41, address, count, rows
    EXPECT_TRUE(slave(1).valid);
    // A slave that says nothing: no reply, invalid after 3.0 s.
    Request poll, silent;
    ASSERT_TRUE(line.next(poll, 1.0));
    line.answer(poll, FakeSlave::statusAnswer(7, 8, 0));
    line.master().addCascadeCtrlRelay(line.relay(1, kCascadeRelayMgrCtrl, web));
    ASSERT_TRUE(line.next(silent, 1.0));
    ASSERT_TRUE(line.board().runUntil([] { return !slave(1).valid; }, 4));
    EXPECT_NEAR(3.0, line.now() - silent.at, 0.1);
    EXPECT_EQ(1u, web->sent.size());
}

TEST(CascadeCtrlMaster, BytesFromAnotherAddressDoNotKeepARelayedRequestAlive)
{
    FakeSlave line({1});
    line.start();
    bringUp(line, 1);
    auto client = std::make_shared<test::RecordingSender>();
    test::LogCapture log;
    EXPECT_NEAR(CascadeCtrlMasterProcessorFactory::kRelayTimeout, timeOutWhileTrickling(line, 2, 0.1, 5, client), 0.1);
    EXPECT_TRUE(log.contains("addr:1 timeout"));
    EXPECT_FALSE(slave(1).valid);
    EXPECT_TRUE(client->sent.empty());
}

// Takes the cap's 30 s of real time.
TEST(CascadeCtrlMaster, AnAnswerThatKeepsTricklingIsAbandonedAtTheCap)
{
    FakeSlave line({1});
    line.start();
    bringUp(line, 1);
    auto client = std::make_shared<test::RecordingSender>();
    test::LogCapture log;
    EXPECT_NEAR(CascadeCtrlMasterProcessorFactory::kMaxAnswerSeconds, timeOutWhileTrickling(line, 1, 0.25, 33, client),
                0.1);
    EXPECT_TRUE(log.contains("addr:1 timeout"));
    EXPECT_FALSE(slave(1).valid);
    EXPECT_TRUE(client->sent.empty());
}

TEST(CascadeCtrlMaster, TheQueueHoldsSixtyFourAndDropsRelaysForASlaveFoundInvalid)
{
    FakeSlave line({1, 2, 3, 4, 5});
    line.start();
    bringUp(line, 5);
    auto web = std::make_shared<test::RecordingSender>();
    Request poll;
    ASSERT_TRUE(line.next(poll, 1.0));
    ASSERT_EQ(1, poll.address);
    test::LogCapture log;
    // 3 for slave 1, 16 each for slaves 2 to 4, 14 for slave 5: one too many.
    for (int i = 0; i < int(CascadeCtrlMasterProcessorFactory::kMaxQueuedRelays) + 1; ++i)
    {
        const int address = i < 3 ? 1 : std::min(5, 2 + (i - 3) / 16);
        line.master().addCascadeCtrlRelay(line.relay(address, kCascadeRelayWeb, web));
    }
    EXPECT_EQ(CascadeCtrlMasterProcessorFactory::kMaxQueuedRelays, line.master().queuedRelays());
    EXPECT_EQ(1, log.count("relay queue full (64): request for addr:5 dropped"));
    // Slave 1 misses its poll: its three queued requests are dropped, the
    // first request for slave 2 goes out.
    Request r;
    ASSERT_TRUE(line.next(r, 1.5));
    EXPECT_EQ(2, r.address);
    EXPECT_EQ(Bytes{20}, r.payload);
    EXPECT_EQ(1, log.count("transfer remote"));
    EXPECT_EQ(0, log.count("get relay from queue"));
    EXPECT_EQ(CascadeCtrlMasterProcessorFactory::kMaxQueuedRelays - 4, line.master().queuedRelays());
    EXPECT_TRUE(web->sent.empty());
}

TEST(CascadeCtrlMaster, ASilentSlavesRequestsTakeOnlyItsShareAndTheOthersAreStillServed)
{
    FakeSlave line({1, 2});
    line.start();
    bringUp(line, 2);
    auto flood = std::make_shared<test::RecordingSender>();
    auto other = std::make_shared<test::RecordingSender>();
    Request poll;
    ASSERT_TRUE(line.next(poll, 1.0));
    ASSERT_EQ(1, poll.address);
    test::LogCapture log;
    // 150 requests for slave 2, which has stopped answering, and one for slave 1.
    for (int i = 0; i < 150; ++i)
        line.master().addCascadeCtrlRelay(line.relay(2, kCascadeRelayWeb, flood));
    line.master().addCascadeCtrlRelay(line.relay(1, kCascadeRelayWeb, other));
    EXPECT_EQ(kShare + 1, line.master().queuedRelays());
    EXPECT_EQ(150 - int(kShare), log.count("share of the relay queue (16) is full: request for addr:2"));
    line.answer(poll, FakeSlave::statusAnswer(7, 8, 0));
    // The first request for slave 2 goes out and times out; the others for
    // it are dropped with it. Slave 2's poll, due meanwhile, goes first (an
    // identity query: it is invalid now), then slave 1's request.
    Request silent, poll2, served;
    ASSERT_TRUE(line.next(silent, 1.0));
    EXPECT_EQ(2, silent.address);
    ASSERT_TRUE(line.next(poll2, CascadeCtrlMasterProcessorFactory::kRelayTimeout + 1));
    EXPECT_EQ(2, poll2.address);
    EXPECT_EQ(Bytes{1}, poll2.payload);
    ASSERT_TRUE(line.next(served, CascadeCtrlMasterProcessorFactory::kPollTimeout + 1));
    EXPECT_EQ(1, served.address);
    EXPECT_EQ(Bytes{20}, served.payload);
    EXPECT_EQ(0u, line.master().queuedRelays());
    line.answer(served, {22, 0});
    ASSERT_TRUE(line.board().runUntil([&] { return !other->sent.empty(); }, 1));
    EXPECT_TRUE(flood->sent.empty());
    // Nothing more is taken for slave 2 until it answers, not even on a free line.
    log.clear();
    line.master().addCascadeCtrlRelay(line.relay(2, kCascadeRelayWeb, flood));
    EXPECT_EQ(1, log.count("the slave missed its last answer: request for addr:2 dropped"));
    // Nor for an address without a slave.
    line.master().addCascadeCtrlRelay(line.relay(1, kCascadeRelayWeb, other));
    line.master().addCascadeCtrlRelay(line.relay(9, kCascadeRelayWeb, other));
    EXPECT_EQ(1, log.count("no such slave: request for addr:9 dropped"));
}
