#pragma once
#include <cstdint>
#include <type_traits>

#include "cascade/parser/CascadeCtrlCommandTypes.h"
#include "cascade/processor/CascadeCtrlMasterProcessor.h"
#include "netext/WireReader.h"

namespace CascadeCtrl
{
// The master's processor of one answer code over the code's answer struct
// (CascadeCtrlCommandTypes), which the parser reads each answer into.
template <int kCode>
class CascadeCtrlRetCommand : public CascadeCtrlMasterProcessor
{
public:
    typedef typename CascadeCtrlCommandTypes<kCode>::Answer Answer;

    bool readAnswer(muduo::net::WireReader& r) override { return answer_.read(r); }
    const Answer& answer() const { return answer_; }

protected:
    // The slave's status byte, signed as clients see it (0xFF is -1); 0
    // for the answers that carry none.
    int result() const
    {
        if constexpr (std::is_base_of<CascadeCtrlAnswerStatus, Answer>::value)
            return static_cast<int8_t>(answer_.status);
        else
            return 0;
    }

    Answer answer_;
};
}
