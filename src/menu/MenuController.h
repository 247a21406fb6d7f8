#pragma once
#include "DeviceTypes.h"

class PduServer;

namespace muduo
{
namespace net
{
class EventLoop;
}
}

namespace menu
{
// The front-panel menu: builds the LCD driver and the pages, and passes
// keys and device events to the current page.
class MenuController
{
public:
    MenuController(muduo::net::EventLoop* loop, Language language, LcdDirection direction, int backlightMinutes,
                   const PduServer* server);

    void onKey(unsigned short code, unsigned short state);
};
}
