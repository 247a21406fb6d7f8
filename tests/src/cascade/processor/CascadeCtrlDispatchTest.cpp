// The dispatch bases on the server's cascade line: a master in miniature,
// built only from the bases, relays a web request to a slave played by the
// test on the far end of the pseudo-terminal, and answers the web client.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "PduServer.h"
#include "SerialPort.h"
#include "cascade/processor/CascadeCtrlDataParser.h"
#include "cascade/processor/CascadeCtrlDataParserTable.h"
#include "cascade/processor/CascadeCtrlProcessor.h"
#include "cascade/processor/CascadeCtrlProcessorFactory.h"
#include "cascade/processor/CascadeCtrlSetTimeRelay.h"
#include "muduo/net/Buffer.h"
#include "netext/UdpTranceiver.h"
#include "platform/pmemu/PmPty.h"
#include "support/LogCapture.h"
#include "support/PlainUdp.h"
#include "support/ServerBoard.h"
#include "support/TestFrames.h"
#include "web/web_processor/WebProcessor.h"

namespace
{
using namespace CascadeCtrl;
using test::Bytes;

// Turns a slave's answer (code, status) into a line for the relay's client.
class StatusProcessor : public CascadeCtrlProcessor
{
public:
    void process(muduo::net::Buffer&, int) override {}
    void process(const std::shared_ptr<CascadeCtrlRelay>& relay) override
    {
        const std::string line = "addr " + std::to_string(address()) + " status " + std::to_string(status);
        relay->sendLocal(line.data(), static_cast<unsigned int>(line.size()));
    }
    int status = -1;
};

class StatusParser : public CascadeCtrlDataParser
{
public:
    bool parse(muduo::net::Buffer& payload, std::shared_ptr<CascadeCtrlProcessor>& processor) override
    {
        muduo::net::WireReader r(payload);
        uint8_t code = 0, status = 0;
        if (!r.u8(code) || !r.u8(status))
            return false;
        payload.retrieve(r.consumed());
        processor_->status = status;
        processor = processor_;
        return true;
    }
    std::shared_ptr<StatusProcessor> processor_ = std::make_shared<StatusProcessor>();
};

// Sends each relay at once and answers its client when the slave's frame
// comes back with the relay's sequence.
class MiniMaster : public CascadeCtrlProcessorFactory
{
public:
    explicit MiniMaster(PduServer& server) : CascadeCtrlProcessorFactory(server.getLoop(), server.getCascadeSerialPort())
    {
        parsers_.add(CascadeCtrlCommand::kSetTime, std::make_shared<StatusParser>());
    }
    void start() override {}
    void stop() override {}
    void addCascadeCtrlRelay(const std::shared_ptr<CascadeCtrlRelay>& relay) override
    {
        current_ = relay;
        setAddress(relay->targetAddress());
        relay->transferRemote();
    }
    std::shared_ptr<CascadeCtrlDataParser> getDataParser(unsigned char code) override { return parsers_.find(code); }
    void process(std::shared_ptr<CascadeCtrlProcessor>& processor, int sequence) override
    {
        ++frames;
        if (current_ && current_->sequence() == sequence)
            processor->process(current_);
    }

    int frames = 0;

private:
    CascadeCtrlDataParserTable parsers_;
    std::shared_ptr<CascadeCtrlRelay> current_;
};

class ToSlave : public web::WebProcessor
{
public:
    int work() override { return 0; }
    bool buildResponseString(int, std::string&) override { return false; }
};

class CascadeCtrlDispatchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server = &board.build();
        auto endpoint = std::make_unique<MiniMaster>(*server);
        master = endpoint.get();
        server->setCascadeCtrlProcessorFactory(std::move(endpoint));
        server->getCascadeSerialPort()->fileHandler()->startRead();
        line = board.cascadeLine().masterFd();
        ::fcntl(line, F_SETFL, ::fcntl(line, F_GETFL) | O_NONBLOCK);
    }
    // One chunk from the slave's side; runs the loop until the master saw it.
    void slaveWrites(const Bytes& bytes, const std::string& logLine = "", double seconds = 1.0)
    {
        test::LogCapture log;
        const int before = master->frames;
        ASSERT_EQ(static_cast<ssize_t>(bytes.size()), ::write(line, bytes.data(), bytes.size()));
        board.runUntil([&] { return master->frames > before || (!logLine.empty() && log.contains(logLine)); }, seconds);
        EXPECT_TRUE(logLine.empty() || log.contains(logLine)) << logLine;
    }

    test::ServerBoard board;
    PduServer* server = nullptr;
    MiniMaster* master = nullptr;
    int line = -1;
};
}

TEST_F(CascadeCtrlDispatchTest, WebRequestTravelsToTheSlaveAndItsAnswerBack)
{
    CascadeCtrlSetTimeRequest request;
    request.time = {2024, 2, 29, 23, 59, 58};
    auto web = std::make_shared<ToSlave>();
    web->setRelay(std::make_shared<CascadeCtrlSetTimeRelay>(kCascadeRelayWeb, 5, request));
    server->requestPaths().parseWeb = [&](const std::string&, std::shared_ptr<web::WebProcessor>& p) {
        p = web;
        return 2;
    };
    test::PlainUdp client;
    auto tranceiver = std::make_shared<muduo::net::UdpTranceiver>(&board.loop(), false);
    CascadeCtrlRelay::s_sequence = 0x8001;
    server->onWebRequestMessage(tranceiver, client.address(), "{}", 2, muduo::Timestamp());

    // The frame on the line, read back by the test's own decoder.
    Bytes frame;
    board.runUntil(
        [&] {
            unsigned char chunk[64];
            const ssize_t n = ::read(line, chunk, sizeof chunk);
            if (n > 0)
                frame.insert(frame.end(), chunk, chunk + n);
            return frame.size() >= 20;
        },
        2.0);
    uint8_t address = 0;
    uint16_t sequence = 0;
    Bytes payload;
    ASSERT_TRUE(test::decodeCascadeFrame(frame, address, sequence, payload));
    EXPECT_EQ(5, address);
    EXPECT_EQ(0x8001, sequence);
    EXPECT_EQ(Bytes({0x15, 0x18, 0x02, 0x1D, 0x17, 0x3B, 0x3A}), payload);

    slaveWrites(test::cascadeFrame(4, sequence, {0x15, 0x00}), "", 0.3);  // another slave: not this wait
    EXPECT_EQ(0, master->frames);
    Bytes bad = test::cascadeFrame(5, sequence, {0x15, 0x00});
    bad[4] ^= 0xFF;
    slaveWrites(bad, "parse error");
    slaveWrites(test::cascadeFrame(5, sequence, {0x15, 0x01}));
    std::string answer;
    ASSERT_TRUE(board.runUntil([&] { return client.tryRecv(answer); }, 2.0));
    EXPECT_EQ("addr 5 status 1", answer);
}

TEST_F(CascadeCtrlDispatchTest, FramesWithoutAParserOrWithABadPayloadAreDropped)
{
    master->addCascadeCtrlRelay(
        std::make_shared<CascadeCtrlSetTimeRelay>(kCascadeRelayWeb, 9, CascadeCtrlSetTimeRequest()));
    const struct
    {
        Bytes payload;
        const char* line;
    } cases[] = {{{}, "no data parser"}, {{0x00, 0x00}, "no data parser"}, {{0x2C, 0x00}, "no data parser"},
                 {{0x63}, "no data parser"}, {{0x15}, "parse cascade ctrl data error"}};
    for (const auto& c : cases)
    {
        test::LogCapture log;
        const Bytes frame = test::cascadeFrame(9, 1, c.payload);
        master->processCascadeCtrlPacket(reinterpret_cast<const char*>(frame.data()), static_cast<int>(frame.size()));
        EXPECT_TRUE(log.contains(c.line)) << c.line;
    }
    EXPECT_EQ(0, master->frames);
}
