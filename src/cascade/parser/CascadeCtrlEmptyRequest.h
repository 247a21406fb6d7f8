#pragma once
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// The requests that are their code byte alone: device information, network,
// time, energy clear, reboot, output thresholds and port delays.
struct CascadeCtrlEmptyRequest
{
    void write(muduo::net::WireWriter&) const {}
    bool read(muduo::net::WireReader&) { return true; }
};
}
