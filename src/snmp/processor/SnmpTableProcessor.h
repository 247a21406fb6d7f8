#pragma once
#include <array>
#include <functional>

#include "snmp/processor/SnmpItemProcessor.h"

namespace snmp
{
// An item request with one handler per item, slot = item number; N means
// no item. A handler returns 0 done or 1 failed.
template <int N>
class SnmpTableProcessor : public SnmpItemProcessor
{
public:
    static const int kItems = N;

    int work() final
    {
        if (item_ < 0 || item_ > N - 1 || !handlers_[static_cast<size_t>(item_)])
            return 1;
        return handlers_[static_cast<size_t>(item_)]();
    }

protected:
    SnmpTableProcessor(int code, const SnmpItemTable& table, bool set, const char* leadKey)
        : SnmpItemProcessor(code, table, set, leadKey, N)
    {
    }

    // Binds each slot to a member of self; a null member leaves it empty.
    template <class T>
    void bindHandlers(T* self, const std::array<int (T::*)(), N>& members)
    {
        for (size_t i = 0; i < members.size(); ++i)
            if (members[i])
                handlers_[i] = [self, member = members[i]] { return (self->*member)(); };
    }

private:
    std::array<std::function<int()>, N> handlers_;
};
}
