#pragma once

struct _SlaveDevice;

namespace web
{
// The master's record of a slave, for the queries answered from it: null on
// a unit that is not the master, for an address the slave map lacks (the
// map is never added to) and for a slave that has not answered its poll.
class RecordedSlave
{
public:
    static const _SlaveDevice* find(int addr);
};
}
