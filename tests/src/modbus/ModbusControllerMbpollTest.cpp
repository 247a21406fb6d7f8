// A Modbus/TCP master written by others (mbpoll) against the controller
// served on a loopback TCP server, as the daemon serves it.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <regex>
#include <sys/wait.h>
#include <thread>

#include "modbus/ModbusController.h"
#include "muduo/net/Buffer.h"
#include "muduo/net/EventLoop.h"
#include "muduo/net/InetAddress.h"
#include "muduo/net/TcpConnection.h"
#include "muduo/net/TcpServer.h"
#include "support/LoopUntil.h"

namespace
{
struct CoilWrite
{
    std::vector<unsigned char> states;
    int first;
};

class ModbusControllerMbpollTest : public ::testing::Test
{
protected:
    ModbusControllerMbpollTest()
        : controller(&loop), server(&loop, muduo::net::InetAddress("127.0.0.1", 0), "modbusServer")
    {
        controller.init(8);
        controller.setOutputControlCallback([this](const unsigned char* states, int first, int count) {
            writes.push_back({std::vector<unsigned char>(states, states + count), first});
            return true;
        });
        server.setConnectionCallback([this](const muduo::net::TcpConnectionPtr& conn) {
            if (conn->connected())
                controller.addParser(conn->name());
            else
                controller.deleteParser(conn->name());
        });
        server.setMessageCallback(
            [this](const muduo::net::TcpConnectionPtr& conn, muduo::net::Buffer* buffer, muduo::Timestamp) {
                muduo::net::Buffer reply;
                controller.parse(conn->name(), buffer->peek(), static_cast<int>(buffer->readableBytes()), reply);
                buffer->retrieveAll();
                if (reply.readableBytes() > 0)
                    conn->send(&reply);
            });
        server.start();
    }

    // Runs mbpoll once against the server while the loop serves it; the output, or "" on failure.
    std::string mbpoll(const std::string& args)
    {
        const std::string command = "mbpoll -m tcp -0 -1 -o 5 -p " +
                                    std::to_string(server.listenAddress().port()) + " " + args + " 2>&1";
        std::string output;
        std::atomic<bool> done{false};
        int status = -1;
        std::thread runner([&] {
            if (FILE* pipe = ::popen(command.c_str(), "r"))
            {
                char chunk[512];
                size_t n;
                while ((n = ::fread(chunk, 1, sizeof chunk, pipe)) > 0)
                    output.append(chunk, n);
                status = ::pclose(pipe);
            }
            done = true;
        });
        bool finished = test::loopUntil(loop, [&] { return done.load(); }, 30.0);
        runner.join();
        EXPECT_TRUE(finished) << command;
        lastStatus = status;
        return output;
    }

    // mbpoll's "[reference]: value" lines.
    static std::map<int, long> values(const std::string& output)
    {
        std::map<int, long> out;
        std::regex line(R"(\[(\d+)\]:\s+(-?\d+))");
        for (std::sregex_iterator it(output.begin(), output.end(), line), end; it != end; ++it)
            out[std::stoi((*it)[1])] = std::stol((*it)[2]);
        return out;
    }

    muduo::net::EventLoop loop;
    modbus::ModbusController controller;
    muduo::net::TcpServer server;
    std::vector<CoilWrite> writes;
    int lastStatus = -1;
};
}

TEST_F(ModbusControllerMbpollTest, ReadsInputRegistersAtVirtualAddresses)
{
    controller.setInputVoltage(2293);
    controller.setOutputNum(8);
    for (int n = 0; n < 8; ++n)
    {
        controller.setOutputVoltage(n, static_cast<unsigned short>(2300 + n));
        controller.setOutputEnergy(n, 100000u + static_cast<unsigned>(n));
    }
    controller.setTemperature(215);
    controller.setHumidity(455);

    std::string out = mbpoll("-t 3 -r 0 -c 7 127.0.0.1");
    auto v = values(out);
    ASSERT_EQ(7u, v.size()) << out;
    EXPECT_EQ(2293, v[0]);
    EXPECT_EQ(8, v[6]);

    out = mbpoll("-t 3 -r 7 -c 8 127.0.0.1");
    v = values(out);
    ASSERT_EQ(8u, v.size()) << out;
    for (int n = 0; n < 8; ++n)
        EXPECT_EQ(2300 + n, v[7 + n]);

    out = mbpoll("-t 3 -r 807 -c 4 127.0.0.1");
    v = values(out);
    ASSERT_EQ(4u, v.size()) << out;
    EXPECT_EQ(1, v[807]);  // 100000 = 0x000186A0, high word first
    EXPECT_EQ(0x86A0, v[808]);
    EXPECT_EQ(1, v[809]);
    EXPECT_EQ(0x86A1, v[810]);

    out = mbpoll("-t 3 -r 1207 -c 2 127.0.0.1");
    v = values(out);
    EXPECT_EQ(215, v[1207]) << out;
    EXPECT_EQ(455, v[1208]) << out;
}

TEST_F(ModbusControllerMbpollTest, ExceptionsReachTheMaster)
{
    std::string out = mbpoll("-t 3 -r 7 -c 9 127.0.0.1");
    EXPECT_TRUE(values(out).empty()) << out;
    EXPECT_NE(std::string::npos, out.find("Illegal data address")) << out;
    out = mbpoll("-t 4 -r 0 -c 1 127.0.0.1");
    EXPECT_NE(std::string::npos, out.find("Illegal data address")) << out;
}

TEST_F(ModbusControllerMbpollTest, ReadsDiscreteInputs)
{
    const unsigned char states[8] = {1, 0, 0, 1, 1, 0, 0, 1};
    controller.setOutputStatus(0, states, 8);
    std::string out = mbpoll("-t 1 -r 0 -c 8 127.0.0.1");
    auto v = values(out);
    ASSERT_EQ(8u, v.size()) << out;
    for (int n = 0; n < 8; ++n)
        EXPECT_EQ(states[n], v[n]) << n;
}

TEST_F(ModbusControllerMbpollTest, CoilWritesReachTheOutputControl)
{
    std::string out = mbpoll("-t 0 -r 3 127.0.0.1 1");
    EXPECT_EQ(0, lastStatus) << out;
    ASSERT_EQ(1u, writes.size()) << out;
    EXPECT_EQ(3, writes[0].first);
    EXPECT_EQ((std::vector<unsigned char>{1}), writes[0].states);

    out = mbpoll("-t 0 -r 0 127.0.0.1 1 0 1 0 0 0 0 0");
    EXPECT_EQ(0, lastStatus) << out;
    ASSERT_EQ(2u, writes.size()) << out;
    EXPECT_EQ(0, writes[1].first);
    EXPECT_EQ((std::vector<unsigned char>{1, 0, 1, 0, 0, 0, 0, 0}), writes[1].states);

    // Outlet 8 does not exist on this unit.
    out = mbpoll("-t 0 -r 8 127.0.0.1 1");
    EXPECT_NE(0, lastStatus) << out;
    EXPECT_EQ(2u, writes.size());
}
