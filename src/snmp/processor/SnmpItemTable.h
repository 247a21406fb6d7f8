#pragma once
#include <cstddef>

#include "JsonCpp.h"
#include "snmp/processor/SnmpValue.h"

namespace snmp
{
// How one request family names its configuration items: groups of keys,
// each key with the kind of its value and its item number in the get and
// in the set request. Read by the parsers to choose an item and by the
// processors to name it again in the answer.
class SnmpItemTable
{
public:
    static const int kNone = -1;

    struct Key
    {
        const char* name;
        SnmpValue::Kind kind;
        int getItem;
        int setItem;  // kNone: the set request cannot change it
    };
    struct Group
    {
        const char* name;  // null: the keys stand in "content" itself
        const Key* keys;
        size_t count;
    };

    template <size_t N>
    constexpr explicit SnmpItemTable(const Group (&groups)[N]) : groups_(groups), count_(N)
    {
    }

    const Group& group(size_t i) const { return groups_[i]; }
    size_t groupCount() const { return count_; }

    // The first key of the group, in table order, present in object with a
    // value that qualifies: the literal true for a get, a value of the key's
    // kind for a set (copied into value). Its item; kNone when none does.
    static int choose(const rapidjson::Value& object, const Group& group, bool set, SnmpValue& value);

    // The key and group naming an item; null key when no key has it.
    const Key* find(int item, bool set, const Group** group) const;

private:
    const Group* groups_;
    size_t count_;
};
}
