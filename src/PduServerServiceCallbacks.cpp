// Events of the sensor, the scheduled tasks, the ping watchdogs, the Modbus
// coils and the NTP task.
#include "DataConverter.h"
#include "GlobalData.h"
#include "MeterReading.h"
#include "OutletAction.h"
#include "PduServer.h"
#include "PowerModuleContainer.h"
#include "ScheduledTaskContainer.h"
#include "SharedMemory.h"
#include "Utility.h"
#include "menu/MenuController.h"
#include "modbus/ModbusController.h"
#include "modbus/RegisterValue.h"
#include "muduo/base/Logging.h"

void PduServer::onKeyReceived(unsigned short code, unsigned short state)
{
    LOG_INFO << "key:" << code << " state:" << state;
    if (menu_)
        menu_->onKey(code, state);
}

void PduServer::onTempHum(bool valid, double temperature, double humidity)
{
    _EnvironmentalStatus& environment = GlobalData::getDevice().status.environment;
    environment.valid = valid;
    environment.temperature = valid ? temperature : Utility::kInvalidDoubleValue;
    environment.humidity = valid ? humidity : Utility::kInvalidDoubleValue;
    if (menu_)
        menu_->onDeviceEnviromentReceived(&environment);
    _SENSOR_VALUE value;
    value.temperature = valid ? MeterReading::scaled(temperature, 10) : _SENSOR_VALUE::kNoReading;
    value.humidity = valid ? MeterReading::scaled(humidity, 10) : _SENSOR_VALUE::kNoReading;
    const double invalid = Utility::kInvalidDoubleValue;
    modbus_->setTemperature(
        modbus::RegisterValue::signedWord(valid ? value.temperature : DataConverter::TempDoubleToInt(invalid)));
    modbus_->setHumidity(
        modbus::RegisterValue::word(valid ? value.humidity : DataConverter::HumiDoubleToInt(invalid)));
    _SENSOR_VALUE& scratch = snmpDeviceStatus_.sensor;
    if (value.temperature != scratch.temperature || value.humidity != scratch.humidity)
    {
        scratch = value;
        SharedMemory::instance().setSensorValue(scratch);
    }
}

void PduServer::onScheduledTask(int id, unsigned int ports, int action)
{
    LOG_INFO << "scheduled task id:" << id;
    LOG_INFO << "action:" << action << ",portBitmap:" << muduo::Fmt("0x%08X", ports);
    const int outlets = GlobalData::getDevice().slotCount();
    if (outlets < 32 && (ports >> outlets) != 0)
        LOG_WARN << "scheduled task id:" << id << " names outlets this unit lacks; they are left alone";
    OutletAction(*powerModuleContainer_).applyTask(id, ports, action);
}

bool PduServer::onModbusPowerModuleControl(const unsigned char* states, int first, int count)
{
    if (!states || count < 1)
        return true;
    OutletAction::Outlets on = 0, off = 0;
    for (int i = 0; i < count; ++i)
    {
        const long port = static_cast<long>(first) + i;
        if (!localOutlet(static_cast<int>(port)) || port != static_cast<int>(port))
        {
            LOG_WARN << "modbus coil " << port << " ignored: not an outlet of this unit";
            continue;
        }
        (states[i] ? on : off) |= OutletAction::Outlets(1) << port;
    }
    return OutletAction(*powerModuleContainer_).applyOnOff(on, off);
}

void PduServer::onPingTaskSuccess(int port, bool periodic)
{
    if (!localOutlet(port))
    {
        LOG_WARN << "ping success of port " << port << " dropped: not an outlet of this unit";
        return;
    }
    _DeviceStatus& status = GlobalData::getDevice().status;
    if (!periodic)
    {
        LOG_INFO << "ping test succeed,port:" << port;
        status.pingTestResult[port] = 1;
    }
    status.pingActionDone[port] = 0;
}

void PduServer::onPingTaskFail(int port, int action)
{
    LOG_INFO << "ping fail:port:" << port << ",failAction:" << action;
    if (!localOutlet(port))
    {
        LOG_WARN << "ping failure of port " << port << " dropped: not an outlet of this unit";
        return;
    }
    _Device& device = GlobalData::getDevice();
    uint8_t& latch = device.status.pingActionDone[port];
    if (latch)
        return;
    if (action == 0)
        powerModuleContainer_->turnOffPort(port, true);
    else if (action == 2)
        powerModuleContainer_->restartPort(port, device.portDelays[port].restartDelay, true);
    latch = 1;
}

void PduServer::onTimeAdjusted()
{
    LOG_INFO << "time adjusted";
    if (timeAdjusted_)
        return;
    timeAdjusted_ = true;
    scheduledTasks_->updateAllTask();
}
