#include "manage_control/processor/MgrCtrlScanPort.h"

#include "manage_control/parser/ScanDeviceParser.h"
#include "manage_control/processor/MgrCtrlProcessor.h"

namespace MgrCtrl
{
int MgrCtrlScanPort::parseFrame(const char* data, int length, muduo::net::Buffer& frame)
{
    parser_.reset();
    const int result = parser_.parse(data, length, frame);
    parser_.reset();
    return result;
}

int MgrCtrlScanPort::parseDevice(muduo::net::Buffer& frame, std::shared_ptr<MgrCtrlProcessor>& processor)
{
    const int result = ScanDeviceParser().parse(frame, processor);
    if (processor)
        processor->setChecksumFlag(parser_.getChecksumFlag());
    return result;
}
}
