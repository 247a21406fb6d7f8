#pragma once
#include "muduo/base/noncopyable.h"

namespace CascadeCtrl
{
// Where a slave's answer to a relayed request goes: back to the client that
// asked, by the way it asked.
class CascadeCtrlSender : muduo::noncopyable
{
public:
    virtual ~CascadeCtrlSender() = default;
    virtual void sendLocal(const void* data, unsigned int length) = 0;
};
}
