#pragma once
#include <string>

#include "cascade/processor/CascadeCtrlResultRetProcessor.h"

namespace CascadeCtrl
{
typedef void (*MgrCtrlTaskIdWriter)(muduo::net::Buffer&, int, int, unsigned int);
typedef void (*WebTaskIdWriter)(Json::JsonCpp&, std::string&, int, int, unsigned int);

// Add and update of a slave's scheduled task: the status and, after a 0,
// the task's id. A failed answer carries no id and shows 0, never the id
// of an earlier answer.
template <int kCode, auto kWeb, MgrCtrlTaskIdWriter kMgr>
class CascadeCtrlTaskIdRetProcessor : public CascadeCtrlRetCommand<kCode>
{
public:
    void buildMgrCtrlDataPacket(muduo::net::Buffer& data) override
    {
        if (this->result() == 0)
            LOG_INFO << "new task id:" << id();
        kMgr(data, this->address(), this->result(), id());
    }
    void buildWebTransferPacket(std::string& text) override
    {
        if constexpr (std::is_same<decltype(kWeb), WebTaskIdWriter>::value)
            kWeb(this->json_, text, this->result(), this->address(), id());
        else
            kWeb(this->json_, text, this->result());
    }

private:
    unsigned int id() const { return this->answer_.done() ? this->answer_.data.id : 0; }
};
}
