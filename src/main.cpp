#include "InstanceLock.h"
#include "muduo/base/Logging.h"
#include "muduo/net/EventLoop.h"

int main()
{
    InstanceLock instanceLock;
    if (!instanceLock.lock())
    {
        LOG_WARN << "Programe already running";
        return -1;
    }
    muduo::net::EventLoop loop;
    loop.loop();
    return 0;
}
