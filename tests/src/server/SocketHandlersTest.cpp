// The socket handlers with doubles of the request interfaces bound to the
// server's request paths.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include "PduServer.h"
#include "cascade/processor/CascadeCtrlProcessorFactory.h"
#include "cascade/processor/CascadeCtrlRebootRelay.h"
#include "cascade/processor/CascadeCtrlSender.h"
#include "manage_control/processor/MgrCtrlProcessor.h"
#include "muduo/net/Buffer.h"
#include "muduo/net/EventLoop.h"
#include "muduo/net/TcpServer.h"
#include "netext/UdpTranceiver.h"
#include "snmp/processor/SnmpProcessor.h"
#include "support/LogCapture.h"
#include "support/PlainUdp.h"
#include "support/ServerBoard.h"
#include "support/TestFrames.h"
#include "web/web_processor/WebProcessor.h"

namespace
{
class AnswerWeb : public web::WebProcessor
{
public:
    int work() override { return 0; }
    bool buildResponseString(int, std::string& response) override
    {
        response = "{\"answer\":1}";
        return true;
    }
};

class AnswerSnmp : public snmp::SnmpProcessor
{
public:
    int work() override { return 0; }
    bool buildResponseString(int, std::string& response) override
    {
        response = "{\"snmp\":1}";
        return true;
    }
};

class AnswerScan : public MgrCtrl::MgrCtrlProcessor
{
public:
    int work() override { return 0; }
    void buildResponseData(int, muduo::net::Buffer& data) override { data.append("SCAN", 4); }
};

class RecordingCascade : public CascadeCtrl::CascadeCtrlProcessorFactory
{
public:
    RecordingCascade(PduServer& server, std::vector<std::shared_ptr<CascadeCtrl::CascadeCtrlRelay>>& relays)
        : CascadeCtrlProcessorFactory(server.getLoop(), server.getCascadeSerialPort()), relays_(relays)
    {
    }
    void start() override {}
    void stop() override {}
    void addCascadeCtrlRelay(const std::shared_ptr<CascadeCtrl::CascadeCtrlRelay>& relay) override
    {
        relays_.push_back(relay);
    }
    std::shared_ptr<CascadeCtrl::CascadeCtrlDataParser> getDataParser(unsigned char) override { return nullptr; }
    void process(std::shared_ptr<CascadeCtrl::CascadeCtrlProcessor>&, int) override {}

private:
    std::vector<std::shared_ptr<CascadeCtrl::CascadeCtrlRelay>>& relays_;
};

class SocketHandlersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        board_ = std::make_unique<test::ServerBoard>();
        server_ = &board_->build();
        tranceiver_ = std::make_shared<muduo::net::UdpTranceiver>(&board_->loop(), false);
    }
    void TearDown() override
    {
        tranceiver_.reset();
        board_.reset();
    }

    void web(const std::string& request)
    {
        server_->onWebRequestMessage(tranceiver_, client_.address(), request.data(), static_cast<int>(request.size()),
                                     muduo::Timestamp());
    }
    // The datagram the client gets within the time, or "<none>".
    std::string answer(double seconds = 1.0)
    {
        std::string got;
        if (board_->runUntil([&] { return client_.tryRecv(got); }, seconds))
            return got;
        return "<none>";
    }
    void webResult(int result, std::shared_ptr<web::WebProcessor> made)
    {
        server_->requestPaths().parseWeb = [=](const std::string& request,
                                               std::shared_ptr<web::WebProcessor>& processor) {
            requests_.push_back(request);
            processor = made;
            return result;
        };
    }

    std::unique_ptr<test::ServerBoard> board_;
    PduServer* server_ = nullptr;
    muduo::net::UdpTranceiverPtr tranceiver_;
    test::PlainUdp client_;
    std::vector<std::string> requests_;
};
}

TEST_F(SocketHandlersTest, WebRequestIsAnsweredHereOnResultOne)
{
    webResult(1, std::make_shared<AnswerWeb>());
    web("{\"request\":1}");
    EXPECT_EQ("{\"answer\":1}", answer());
    ASSERT_EQ(1u, requests_.size());
    EXPECT_EQ("{\"request\":1}", requests_[0]);
}

TEST_F(SocketHandlersTest, WebRequestWithoutInterfaceOrAnswerSendsNothing)
{
    server_->requestPaths().parseWeb = nullptr;
    web("{\"request\":1}");
    webResult(0, nullptr);
    web("{\"request\":1}");
    webResult(1, nullptr);  // an answer claimed without a processor
    web("{\"request\":1}");
    webResult(7, std::make_shared<AnswerWeb>());
    web("{\"request\":1}");
    EXPECT_EQ("<none>", answer(0.3));
}

TEST_F(SocketHandlersTest, WebRequestForASlaveGoesToTheCascadeWithPortAndSender)
{
    std::vector<std::shared_ptr<CascadeCtrl::CascadeCtrlRelay>> relays;
    server_->setCascadeCtrlProcessorFactory(std::make_unique<RecordingCascade>(*server_, relays));
    auto processor = std::make_shared<AnswerWeb>();
    processor->setRelay(std::make_shared<CascadeCtrl::CascadeCtrlRebootRelay>(kCascadeRelayWeb));
    webResult(2, processor);
    web("{\"request\":1,\"addr\":2}");
    ASSERT_EQ(1u, relays.size());
    EXPECT_EQ(server_->getCascadeSerialPort(), relays[0]->serialPort());
    ASSERT_TRUE(relays[0]->sender());
    EXPECT_EQ("<none>", answer(0.2));  // nothing yet: the slave answers later
    relays[0]->sender()->sendLocal("slave says", 10);
    EXPECT_EQ("slave says", answer());
}

TEST_F(SocketHandlersTest, RelayAskedForWithoutARelayOrCascadeSendsNothing)
{
    test::LogCapture log;
    webResult(2, std::make_shared<AnswerWeb>());  // a slave unit makes no relay
    web("{}");
    EXPECT_TRUE(log.contains("without a relay"));
    auto processor = std::make_shared<AnswerWeb>();
    processor->setRelay(std::make_shared<CascadeCtrl::CascadeCtrlRebootRelay>(kCascadeRelayWeb));
    webResult(2, processor);
    web("{}");  // no cascade factory
    EXPECT_EQ("<none>", answer(0.3));
}

TEST_F(SocketHandlersTest, SnmpAnswersErrorWithoutAProcessor)
{
    server_->onSnmpMessage(tranceiver_, client_.address(), "not json", muduo::Timestamp());
    EXPECT_EQ("error", answer());
    server_->requestPaths().parseSnmp = [](const std::string& request) -> std::shared_ptr<snmp::SnmpProcessor> {
        if (request == "{\"request\":3}")
            return std::make_shared<AnswerSnmp>();
        return nullptr;
    };
    server_->onSnmpMessage(tranceiver_, client_.address(), "{\"request\":99}", muduo::Timestamp());
    EXPECT_EQ("error", answer());
    server_->onSnmpMessage(tranceiver_, client_.address(), "{\"request\":3}", muduo::Timestamp());
    EXPECT_EQ("{\"snmp\":1}", answer());
}

TEST_F(SocketHandlersTest, ScanAnswersOnlyAWholeScanFrame)
{
    int next = 1;
    server_->requestPaths().parseScanFrame = [&](const char*, int, muduo::net::Buffer& frame) {
        frame.append("F", 1);
        return next;
    };
    server_->requestPaths().parseScanDevice = [](muduo::net::Buffer& frame,
                                                 std::shared_ptr<MgrCtrl::MgrCtrlProcessor>& processor) {
        processor = std::make_shared<AnswerScan>();
        return frame.retrieveAllAsString() == "F" ? 2 : 0;
    };
    muduo::net::Buffer half;
    half.append("half", 4);
    test::LogCapture log;
    server_->onMgrCtrlScanMessage(tranceiver_, client_.address(), &half, muduo::Timestamp());
    EXPECT_TRUE(log.contains("parse incomplete"));
    next = 2;
    server_->onMgrCtrlScanMessage(tranceiver_, client_.address(), &half, muduo::Timestamp());
    EXPECT_TRUE(log.contains("parse wrong"));
    EXPECT_EQ("<none>", answer(0.2));
    next = 0;
    server_->onMgrCtrlScanMessage(tranceiver_, client_.address(), &half, muduo::Timestamp());
    EXPECT_EQ(test::mgrCtrlFrame(0, "SCAN", 0), answer());
}

TEST_F(SocketHandlersTest, CascadeBytesGoToTheCascadeEndpoint)
{
    muduo::net::Buffer bytes;
    bytes.append("\x7E\x01\x02", 3);
    server_->onCascadeDataReceived(&bytes, muduo::Timestamp());  // no endpoint: dropped
    std::string seen;
    server_->requestPaths().processCascadePacket = [&](const char* data, int length) { seen.assign(data, length); };
    server_->onCascadeDataReceived(&bytes, muduo::Timestamp());
    EXPECT_EQ(std::string("\x7E\x01\x02", 3), seen);
}

namespace
{
class AnswerMgrCtrl : public MgrCtrl::MgrCtrlProcessor
{
public:
    int work() override { return 0; }
    void buildResponseData(int, muduo::net::Buffer& data) override { data.append("OK", 2); }
};

// A connected loopback TCP client (the connect completes in the kernel).
int connectTo(const muduo::net::InetAddress& address)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    ::connect(fd, address.getSockAddr(), sizeof(sockaddr_in));
    return fd;
}
}

TEST_F(SocketHandlersTest, ManageControlAnswersHereOrRelaysOnItsConnection)
{
    std::vector<std::string> parsers;
    std::vector<std::shared_ptr<CascadeCtrl::CascadeCtrlRelay>> relays;
    server_->setCascadeCtrlProcessorFactory(std::make_unique<RecordingCascade>(*server_, relays));
    RequestPaths& paths = server_->requestPaths();
    paths.addMgrCtrlParser = [&](const std::string& name) { parsers.push_back("+" + name); };
    paths.deleteMgrCtrlParser = [&](const std::string& name) { parsers.push_back("-" + name); };
    paths.parseMgrCtrl = [](const std::string&, const char* data, int length,
                            std::shared_ptr<MgrCtrl::MgrCtrlProcessor>& processor) {
        const std::string request(data, static_cast<size_t>(length));
        processor = std::make_shared<AnswerMgrCtrl>();
        if (request == "fwd")
            processor->setRelay(std::make_shared<CascadeCtrl::CascadeCtrlRebootRelay>(kCascadeRelayWeb));
        return request == "ask" ? 1 : request == "fwd" ? 2 : 0;
    };
    muduo::net::TcpServer tcp(&board_->loop(), muduo::net::InetAddress("127.0.0.1", 0), "mgrCtrlTest");
    tcp.setConnectionCallback([this](const muduo::net::TcpConnectionPtr& c) { server_->onMgrCtrlConnection(c); });
    tcp.setMessageCallback([this](const muduo::net::TcpConnectionPtr& c, muduo::net::Buffer* b, muduo::Timestamp t) {
        server_->onMgrCtrlMessage(c, b, t);
        b->retrieveAll();
    });
    tcp.start();
    const int a = connectTo(tcp.listenAddress());
    const int b = connectTo(tcp.listenAddress());
    ASSERT_TRUE(board_->runUntil([&] { return parsers.size() == 2; }, 2));
    EXPECT_NE(parsers[0], parsers[1]);
    auto received = [&](int fd) {
        char bytes[16];
        std::string got;
        board_->runUntil(
            [&] {
                const ssize_t n = ::recv(fd, bytes, sizeof bytes, 0);
                if (n > 0)
                    got.assign(bytes, static_cast<size_t>(n));
                return n > 0;
            },
            1);
        return got;
    };
    ASSERT_EQ(3, ::send(a, "ask", 3, 0));
    EXPECT_EQ(test::mgrCtrlFrame(0, "OK", 0), received(a));
    ASSERT_EQ(3, ::send(b, "fwd", 3, 0));
    ASSERT_TRUE(board_->runUntil([&] { return relays.size() == 1; }, 2));
    relays[0]->sender()->sendLocal("SL", 2);
    EXPECT_EQ("SL", received(b));
    ::close(a);
    ::close(b);
    EXPECT_TRUE(board_->runUntil([&] { return parsers.size() == 4; }, 2));
}
