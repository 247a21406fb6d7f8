// Events of the unit's own devices and services.
#include "PduServer.h"
#include "muduo/base/Logging.h"

void PduServer::onPowerDataReceived(int, const _PowerModuleData*) {}

void PduServer::onPowerControlRelay(int port, unsigned char state)
{
    LOG_INFO << "port:" << port << ",relay state:" << state;
}

void PduServer::onPowerControlRelayResponse(int port, unsigned char action, unsigned char result)
{
    LOG_INFO << "port:" << port << ",relay action:" << action << ",result:" << result;
}

void PduServer::onPowerQueryStatusResponse(int, int, unsigned char, unsigned char) {}

void PduServer::onPortOperationStart(int port) { LOG_INFO << "port operation start:" << port; }

void PduServer::onPortOperationEnd(int port) { LOG_INFO << "port operation end:" << port; }

void PduServer::onPowerRequestCaliParamResponse(int port, unsigned short voltage, unsigned short current,
                                                unsigned short power, unsigned char result)
{
    LOG_INFO << "port:" << port << " caliVoltage:" << voltage << " caliCurrent:" << current
             << " caliPower:" << power << " result:" << result;
}

void PduServer::onPowerTransferCaliParamResponse(int, unsigned char result)
{
    LOG_INFO << "transfer cali param result:" << result;
}

void PduServer::onPowerStartCalibrateResponse(int, unsigned char result) { LOG_INFO << "calibrate result:" << result; }

void PduServer::onKeyReceived(unsigned short code, unsigned short state)
{
    LOG_INFO << "key:" << code << " state:" << state;
}

void PduServer::onTempHum(bool valid, double temperature, double humidity)
{
    LOG_INFO << "temp hum valid:" << valid << " temperature:" << temperature << " humidity:" << humidity;
}

void PduServer::onScheduledTask(int id, unsigned int ports, int action)
{
    LOG_INFO << "scheduled task id:" << id << " action:" << action << ",portBitmap:" << ports;
}

void PduServer::onPingTaskSuccess(int port, bool periodic)
{
    LOG_INFO << "ping succeed,port:" << port << " periodic:" << periodic;
}

void PduServer::onPingTaskFail(int port, int action)
{
    LOG_INFO << "ping fail:port:" << port << ",failAction:" << action;
}

void PduServer::onTimeAdjusted() { LOG_INFO << "time adjusted"; }

void PduServer::onModbusPowerModuleControl(const unsigned char*, int first, int count)
{
    LOG_INFO << "modbus control of ports " << first << " count " << count;
}
