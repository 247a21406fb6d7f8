#pragma once
#include <cstddef>
#include <string>
#include <type_traits>

#include "cascade/processor/CascadeCtrlRetCommand.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "muduo/base/Logging.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace CascadeCtrl
{
typedef void (*WebResultWriter)(Json::JsonCpp&, std::string&, int);
typedef void (*MgrCtrlResultWriter)(muduo::net::Buffer&, int, int);

// Answers that the client sees as a result only: the manage-control reply
// is its code, the slave's address and the slave's status; the web answer
// (kWeb, or none when no web request relays the command) the status.
template <int kCode, auto kWeb, MgrCtrlResultWriter kMgr>
class CascadeCtrlResultRetProcessor : public CascadeCtrlRetCommand<kCode>
{
public:
    void buildMgrCtrlDataPacket(muduo::net::Buffer& data) override
    {
        LOG_INFO << "result:" << this->result();
        kMgr(data, this->address(), this->result());
    }
    void buildWebTransferPacket(std::string& text) override
    {
        if constexpr (!std::is_same<decltype(kWeb), std::nullptr_t>::value)
            kWeb(this->json_, text, this->result());
    }
};
}
