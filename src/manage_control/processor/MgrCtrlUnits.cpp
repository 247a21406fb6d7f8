#include "manage_control/processor/MgrCtrlUnits.h"

#include "GlobalData.h"

namespace MgrCtrl
{
bool MgrCtrlUnits::fromSlaveRecords(int address) { return address != 0 && GlobalData::getDevice().isMaster; }

const _SlaveDevice* MgrCtrlUnits::findSlave(int address)
{
    const std::map<int, _SlaveDevice>& slaves = GlobalData::getDevice().slaves;
    const auto it = slaves.find(address);
    return it == slaves.end() ? nullptr : &it->second;
}
}
