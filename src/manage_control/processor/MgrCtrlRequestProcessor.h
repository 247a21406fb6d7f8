#pragma once
#include "manage_control/processor/MgrCtrlProcessor.h"

namespace MgrCtrl
{
// The processor of a command read by MgrCtrlRequestParser: the address byte
// and the request struct (the command's cascade request wherever the
// layouts agree, so the relay carries exactly what was read).
template <class R>
class MgrCtrlRequestProcessor : public MgrCtrlProcessor
{
public:
    typedef R Request;

    void setRequest(int address, const Request& request)
    {
        address_ = address;
        request_ = request;
    }

protected:
    int address() const { return address_; }
    Request& request() { return request_; }

private:
    int address_ = 0;
    Request request_{};
};

// The commands whose reply is code, address 0, result: Build is the
// command's (Buffer&, int address, int result) builder.
template <class R, auto Build>
class MgrCtrlResultProcessor : public MgrCtrlRequestProcessor<R>
{
public:
    void buildResponseData(int result, muduo::net::Buffer& data) override { Build(data, 0, result); }
};
}
