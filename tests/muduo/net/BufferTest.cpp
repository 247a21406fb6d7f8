#include "muduo/net/Buffer.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

using muduo::net::Buffer;

TEST(BufferTest, AppendRetrieveAndIndices)
{
    Buffer buf;
    EXPECT_EQ(buf.readableBytes(), 0u);
    EXPECT_EQ(buf.writableBytes(), Buffer::kInitialSize);
    EXPECT_EQ(buf.prependableBytes(), Buffer::kCheapPrepend);

    const std::string str(200, 'x');
    buf.append(str);
    EXPECT_EQ(buf.readableBytes(), str.size());
    EXPECT_EQ(buf.writableBytes(), Buffer::kInitialSize - str.size());

    const std::string str2 = buf.retrieveAsString(50);
    EXPECT_EQ(str2.size(), 50u);
    EXPECT_EQ(buf.readableBytes(), str.size() - 50);
    EXPECT_EQ(buf.prependableBytes(), Buffer::kCheapPrepend + 50);

    buf.append(str);
    EXPECT_EQ(buf.readableBytes(), 2 * str.size() - 50);
    EXPECT_EQ(buf.retrieveAllAsString(), std::string(350, 'x'));
    EXPECT_EQ(buf.readableBytes(), 0u);
    EXPECT_EQ(buf.prependableBytes(), Buffer::kCheapPrepend);

    buf.append("abcdef", 6);
    buf.retrieveUntil(buf.peek() + 2);
    EXPECT_EQ(buf.toStringPiece().as_string(), "cdef");
    buf.unwrite(1);
    EXPECT_EQ(buf.retrieveAllAsString(), "cde");
}

TEST(BufferTest, GrowsAndMovesReadableBytesToTheFront)
{
    Buffer buf;
    buf.append(std::string(400, 'y'));
    buf.retrieve(50);
    buf.append(std::string(1000, 'z'));
    EXPECT_EQ(buf.readableBytes(), 1350u);
    EXPECT_EQ(buf.writableBytes(), 0u);
    EXPECT_EQ(buf.prependableBytes(), Buffer::kCheapPrepend + 50);

    // Room exists in total: the data slides forward instead of growing.
    Buffer inside;
    inside.append(std::string(800, 'y'));
    inside.retrieve(500);
    inside.append(std::string(300, 'z'));
    EXPECT_EQ(inside.readableBytes(), 600u);
    EXPECT_EQ(inside.writableBytes(), Buffer::kInitialSize - 600);
    EXPECT_EQ(inside.prependableBytes(), Buffer::kCheapPrepend);
    EXPECT_EQ(inside.retrieveAllAsString(), std::string(300, 'y') + std::string(300, 'z'));
}

TEST(BufferTest, ShrinkKeepsContent)
{
    Buffer buf;
    buf.append(std::string(2000, 'y'));
    buf.retrieve(1500);
    buf.shrink(0);
    EXPECT_EQ(buf.readableBytes(), 500u);
    EXPECT_EQ(buf.retrieveAllAsString(), std::string(500, 'y'));
}

TEST(BufferTest, PrependAndNetworkOrderIntegers)
{
    Buffer buf;
    buf.append(std::string(200, 'y'));
    buf.prependInt32(0x01020304);
    EXPECT_EQ(buf.readableBytes(), 204u);
    EXPECT_EQ(buf.prependableBytes(), Buffer::kCheapPrepend - 4);
    EXPECT_EQ(buf.peek()[0], 1);
    EXPECT_EQ(buf.peek()[3], 4);
    EXPECT_EQ(buf.readInt32(), 0x01020304);

    Buffer ints;
    ints.appendInt8(-5);
    ints.appendInt16(-2);
    ints.appendInt32(-123456789);
    ints.appendInt64(0x0102030405060708LL);
    ints.prependInt16(0x1234);
    ints.prependInt8(7);
    EXPECT_EQ(ints.readableBytes(), 1u + 2 + 1 + 2 + 4 + 8);
    EXPECT_EQ(ints.readInt8(), 7);
    EXPECT_EQ(ints.peekInt16(), 0x1234);
    EXPECT_EQ(ints.readInt16(), 0x1234);
    EXPECT_EQ(ints.readInt8(), -5);
    EXPECT_EQ(ints.readInt16(), -2);
    EXPECT_EQ(ints.readInt32(), -123456789);
    EXPECT_EQ(static_cast<unsigned char>(ints.peek()[0]), 1);
    EXPECT_EQ(ints.readInt64(), 0x0102030405060708LL);
    EXPECT_EQ(ints.readableBytes(), 0u);

    Buffer wide;
    wide.prependInt64(-1);
    EXPECT_EQ(wide.prependableBytes(), 0u);
    EXPECT_EQ(wide.peekInt64(), -1);
}

TEST(BufferTest, FindCrlfAndEol)
{
    Buffer buf;
    buf.append(std::string(100, 'x'));
    EXPECT_EQ(buf.findCRLF(), nullptr);
    EXPECT_EQ(buf.findEOL(), nullptr);
    buf.append("\r\nrest\n");
    EXPECT_EQ(buf.findCRLF(), buf.peek() + 100);
    EXPECT_EQ(buf.findEOL(), buf.peek() + 101);
    EXPECT_EQ(buf.findEOL(buf.peek() + 102), buf.peek() + 106);
    EXPECT_EQ(buf.findCRLF(buf.peek() + 102), nullptr);
}

TEST(BufferTest, ReadFdDrainsMoreThanTheFreeSpace)
{
    int fds[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    int size = 200 * 1024;
    ::setsockopt(fds[0], SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
    ::setsockopt(fds[1], SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    std::string data(40000, 'a');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>('a' + i % 26);
    ASSERT_EQ(::write(fds[0], data.data(), data.size()), static_cast<ssize_t>(data.size()));

    Buffer buf;
    int savedErrno = 0;
    std::string got;
    while (got.size() < data.size())
    {
        ssize_t n = buf.readFd(fds[1], &savedErrno);
        ASSERT_GT(n, 0);
        got += buf.retrieveAllAsString();
    }
    EXPECT_EQ(got, data);
    ::close(fds[0]);
    EXPECT_EQ(buf.readFd(fds[1], &savedErrno), 0);
    ::close(fds[1]);
}
