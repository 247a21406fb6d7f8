#pragma once
#include "cascade/processor/CascadeCtrlRelay.h"

namespace CascadeCtrl
{
// The relay family: a relay carries one command's request struct and writes
// it with the command's payload writer. Each named relay is a final class
// over this template; the web and manage-control parsers make one with
// (relay type), or with (relay type, slave address, request), and fill
// `request` before handing it on.
template <class Request, void (*Build)(muduo::net::Buffer&, const Request&)>
class CascadeCtrlRequestRelay : public CascadeCtrlRelay
{
public:
    explicit CascadeCtrlRequestRelay(CascadeRelayType type) : CascadeCtrlRelay(type) {}
    CascadeCtrlRequestRelay(CascadeRelayType type, int targetAddress, const Request& r)
        : CascadeCtrlRelay(type), request(r)
    {
        setTargetAddress(targetAddress);
    }

    void buildRequestData(muduo::net::Buffer& payload) const override { Build(payload, request); }

    Request request;
};
}
