#pragma once

namespace CascadeCtrl
{
// Where a slave's answer to a relayed request goes: back to the client that
// asked, by the way it asked.
class CascadeCtrlSender
{
public:
    virtual ~CascadeCtrlSender() = default;
    virtual void sendLocal(const char* data, int length) = 0;
};
}
