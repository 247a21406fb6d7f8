#include "SerialPort.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <termios.h>

#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"
#include "platform/core/BoardRoot.h"

using muduo::net::Buffer;
using muduo::net::FileHandler;
using muduo::net::FileHandlerPtr;

namespace
{
speed_t speedFor(int baud)
{
    switch (baud)
    {
    case 4800: return B4800;
    case 19200: return B19200;
    case 38400: return B38400;
    case 115200: return B115200;
    default: return B9600;
    }
}

const int kTransmitFifoSize = 102400;
}

SerialPort::SerialPort(muduo::net::EventLoop* loop, const char* devName) : fileHandler_(createDevFile(loop, devName))
{
    fileHandler_->setMessageCallback(
        [this](const FileHandlerPtr&, Buffer* buffer, muduo::Timestamp t) { onMessage(buffer, t); });
    fileHandler_->setWriteCompleteCallback([this](const FileHandlerPtr& handler) {
        if (writeCompleteCallback_)
            writeCompleteCallback_(handler);
    });
}

SerialPort::~SerialPort()
{
    // The handler may outlive this port in a pending write: cut its ties here.
    fileHandler_->setMessageCallback(muduo::net::defaultFileMessageCallback);
    fileHandler_->setWriteCompleteCallback(muduo::net::FileWriteCompleteCallback());
}

FileHandlerPtr SerialPort::createDevFile(muduo::net::EventLoop* loop, const char* devName)
{
    LOG_INFO << "devName:" << (devName ? devName : "(null)");
    std::string path = devName ? board::path(devName) : std::string();
    return std::make_shared<FileHandler>(loop, devName ? path.c_str() : nullptr, O_RDWR | O_NOCTTY | O_NONBLOCK);
}

void SerialPort::onMessage(Buffer* buffer, muduo::Timestamp receiveTime)
{
    if (dataCallback_)
        dataCallback_(buffer, receiveTime);
    else
        buffer->retrieveAll();
}

void SerialPort::configUart(int baud)
{
    int fd = fileHandler_->fd();
    struct termios tio;
    if (::tcgetattr(fd, &tio) < 0)
    {
        // A FIFO or plain file standing in for the line has no line settings.
        LOG_SYSERR << "SerialPort::configUart tcgetattr, line settings left as they are";
    }
    else
    {
        ::cfmakeraw(&tio);
        tio.c_iflag |= IGNPAR;
        tio.c_oflag &= ~static_cast<tcflag_t>(0x7F);
        tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB);
        tio.c_cflag |= CS8 | CREAD | CLOCAL;
        tio.c_cc[VMIN] = 1;
        tio.c_cc[VTIME] = 0;
        ::cfsetispeed(&tio, speedFor(baud));
        ::cfsetospeed(&tio, speedFor(baud));
        ::tcflush(fd, TCIFLUSH);
        if (::tcsetattr(fd, TCSADRAIN, &tio) < 0)
            LOG_SYSERR << "SerialPort::configUart tcsetattr";
    }
    setDriverFifo(fd);
}

void SerialPort::setDriverFifo(int fd)
{
    struct serial_struct serial;
    if (::ioctl(fd, TIOCGSERIAL, &serial) < 0)
    {
        // Expected on a pseudo-terminal: only a real UART driver knows these.
        LOG_INFO << "SerialPort::configUart: no driver serial settings on fd " << fd;
        return;
    }
    LOG_INFO << "buffer len:" << serial.xmit_fifo_size;
    serial.xmit_fifo_size = kTransmitFifoSize;
    if (::ioctl(fd, TIOCSSERIAL, &serial) < 0)
        LOG_INFO << "SerialPort::configUart: driver refused the transmit FIFO size";
    if (::ioctl(fd, TIOCGSERIAL, &serial) == 0)
        LOG_INFO << "buffer len:" << serial.xmit_fifo_size;
}
