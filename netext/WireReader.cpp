#include "netext/WireReader.h"

#include "muduo/net/Buffer.h"

namespace muduo
{
namespace net
{
WireReader::WireReader(const Buffer& buffer) : WireReader(buffer.peek(), buffer.readableBytes()) {}
}
}
