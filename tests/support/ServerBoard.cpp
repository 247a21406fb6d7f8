#include "support/ServerBoard.h"

#include <fstream>
#include <stdexcept>

#include "GlobalData.h"
#include "PduServer.h"
#include "muduo/net/EventLoop.h"
#include "muduo/net/InetAddress.h"
#include "platform/core/BoardRoot.h"
#include "platform/pmemu/PowerModuleEmulator.h"
#include "support/FifoDevice.h"
#include "support/LoopUntil.h"
#include "support/TestDatabases.h"

namespace test
{
ServerBoard::ServerBoard()
{
    resetBoardDatabases();
    key_ = std::make_unique<FifoDevice>("/dev/key");
    tempHum_ = std::make_unique<FifoDevice>("/dev/temp_hum");
    for (const char* plain : {"/dev/lcd", "/dev/beeper"})
        std::ofstream(board::path(plain), std::ios::trunc);
    emulator_ = std::make_unique<pmemu::PowerModuleEmulator>(board::path("/dev/ttyS10"));
    cascade_ = std::make_unique<pmemu::PmPty>();
    std::string error;
    if (!emulator_->start(&error) || !cascade_->open(board::path("/dev/ttyS3"), error))
        throw std::runtime_error("board stand-ins: " + error);
    loop_ = std::make_unique<muduo::net::EventLoop>();
}

ServerBoard::~ServerBoard()
{
    server_.reset();
    loop_.reset();
    cascade_->close();
    emulator_->stop();
}

std::string ServerBoard::database(const std::string& file) const { return boardDatabase(file); }

PduServer& ServerBoard::build(const std::function<void()>& adjust)
{
    GlobalData::instance()->loadDeviceParamFromDb();
    if (adjust)
        adjust();
    const muduo::net::InetAddress any("127.0.0.1", 0);
    server_ = std::make_unique<PduServer>(loop_.get(), any, any, any, any, any, any, any);
    return *server_;
}

bool ServerBoard::runUntil(const std::function<bool()>& done, double timeoutSeconds)
{
    return loopUntil(*loop_, done, timeoutSeconds);
}
}
