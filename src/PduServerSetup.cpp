// The seeding and callback wiring steps of PduServer's constructor.
#include <vector>

#include "DataConverter.h"
#include "GlobalData.h"
#include "KeyReader.h"
#include "PduServer.h"
#include "PingTaskContainer.h"
#include "PowerModuleContainer.h"
#include "ScheduledTaskContainer.h"
#include "SharedMemory.h"
#include "TempHumModule.h"
#include "Utility.h"
#include "modbus/ModbusController.h"
#include "modbus/RegisterValue.h"
#include "muduo/base/Logging.h"

using namespace std::placeholders;

void PduServer::seedSharedMemory()
{
    snmpDeviceStatus_ = _DEVICE_STATUS();
    snmpDeviceStatus_.sensor.temperature = _SENSOR_VALUE::kNoReading;
    snmpDeviceStatus_.sensor.humidity = _SENSOR_VALUE::kNoReading;
    snmpDeviceStatus_.outletCount = GlobalData::getDevice().portCount;
    snmpDeviceStatus_.started = 1;
    SharedMemory& mirror = SharedMemory::instance();
    if (!mirror.setDeviceStatus(snmpDeviceStatus_))
        LOG_INFO << "setDeviceStatus failed";
    for (int outlet = 0; outlet < static_cast<int>(snmpOutletStatus_.size()); ++outlet)
    {
        snmpOutletStatus_[outlet] = _OUTLET_STATUS();
        mirror.setOutletStatus(outlet, snmpOutletStatus_[outlet]);
    }
    for (int slot = SharedMemory::kFirstSlot; slot <= SharedMemory::kLastSlot; ++slot)
        mirror.setCascadeDeviceValid(slot, false);
}

void PduServer::seedModbus()
{
    const int outlets = GlobalData::getDevice().portCount > 0 ? GlobalData::getDevice().portCount : 0;
    modbus_->init(outlets);
    modbus_->setOutputControlCallback(std::bind(&PduServer::onModbusPowerModuleControl, this, _1, _2, _3));
    const std::vector<unsigned char> off(static_cast<size_t>(outlets), 0);
    modbus_->setOutputStatus(0, off.data(), outlets);
    modbus_->setOutputNum(modbus::RegisterValue::word(outlets));
    const double invalid = Utility::kInvalidDoubleValue;
    modbus_->setTemperature(modbus::RegisterValue::signedWord(DataConverter::TempDoubleToInt(invalid)));
    modbus_->setHumidity(DataConverter::HumiDoubleToInt(invalid));
}

void PduServer::bindPowerModuleCallbacks()
{
    PowerModuleContainer& modules = *powerModuleContainer_;
    modules.setMeterDataCallback(std::bind(&PduServer::onPowerDataReceived, this, _1, _2));
    modules.setRelayRequestSentCallback(std::bind(&PduServer::onPowerControlRelay, this, _1, _2));
    modules.setRelayReplyCallback(std::bind(&PduServer::onPowerControlRelayResponse, this, _1, _2, _3));
    modules.setOutputStatusCallback(std::bind(&PduServer::onPowerQueryStatusResponse, this, _1, _2, _3, _4));
    modules.setPortOperationStartedCallback(std::bind(&PduServer::onPortOperationStart, this, _1));
    modules.setPortOperationEndedCallback(std::bind(&PduServer::onPortOperationEnd, this, _1));
    modules.setCaliParamCallback(std::bind(&PduServer::onPowerRequestCaliParamResponse, this, _1, _2, _3, _4, _5));
    modules.setTransferCaliParamCallback(std::bind(&PduServer::onPowerTransferCaliParamResponse, this, _1, _2));
    modules.setStartCalibrateCallback(std::bind(&PduServer::onPowerStartCalibrateResponse, this, _1, _2));
}

void PduServer::bindServiceCallbacks()
{
    scheduledTasks_->setScheduledTaskCallback(std::bind(&PduServer::onScheduledTask, this, _1, _2, _3));
    pingTasks_->setSuccessCallback(std::bind(&PduServer::onPingTaskSuccess, this, _1, _2));
    pingTasks_->setFailCallback(std::bind(&PduServer::onPingTaskFail, this, _1, _2));
    // Looked up at each key, so the menu made later is the one that gets it.
    keyReader_->setKeyCallback([this](unsigned short code, unsigned short state) { onKeyReceived(code, state); });
    tempHum_->setReadingCallback(std::bind(&PduServer::onTempHum, this, _1, _2, _3));
}

void PduServer::bindServerCallbacks()
{
    // Every handler sees the readable bytes once; the buffer is emptied
    // whatever it did with them.
    webServer_.setMessageCallback([this](const UdpTranceiverPtr& t, const InetAddress& peer, Buffer* b,
                                         Timestamp time) {
        onWebRequestMessage(t, peer, b->peek(), static_cast<int>(b->readableBytes()), time);
        b->retrieveAll();
    });
    configServer_.setMessageCallback([this](const UdpTranceiverPtr& t, const InetAddress& peer, Buffer* b,
                                            Timestamp time) {
        onConfigMessage(t, peer, b, time);
        b->retrieveAll();
    });
    snmpServer_.setMessageCallback([this](const UdpTranceiverPtr& t, const InetAddress& peer, Buffer* b,
                                          Timestamp time) { onSnmpMessage(t, peer, b->retrieveAllAsString(), time); });
    for (muduo::net::TcpServer* server : {&modbusServer_, &mgrCtrlServer_})
    {
        server->setMaxConnections(kMaxConnectionsPerServer);
        server->setIdleTimeout(kIdleSeconds);
        // The message handlers mark each whole request.
        server->setIdleClock(muduo::net::TcpServer::kIdleSinceMarked);
        server->setRoomAfterIdle(kRoomAfterIdleSeconds);
        server->setDescriptorReserve(kDescriptorReserve);
    }
    modbusServer_.setConnectionCallback(std::bind(&PduServer::onModbusConnection, this, _1));
    modbusServer_.setMessageCallback([this](const TcpConnectionPtr& c, Buffer* b, Timestamp time) {
        onModbusMessage(c, b, time);
        b->retrieveAll();
    });
    scanServer_.setMessageCallback([this](const UdpTranceiverPtr& t, const InetAddress& peer, Buffer* b,
                                          Timestamp time) {
        onMgrCtrlScanMessage(t, peer, b, time);
        b->retrieveAll();
    });
    mgrCtrlServer_.setConnectionCallback(std::bind(&PduServer::onMgrCtrlConnection, this, _1));
    mgrCtrlServer_.setMessageCallback([this](const TcpConnectionPtr& c, Buffer* b, Timestamp time) {
        onMgrCtrlMessage(c, b, time);
        b->retrieveAll();
    });
    nbnsServer_.setMessageCallback([this](const UdpTranceiverPtr& t, const InetAddress& peer, Buffer* b,
                                          Timestamp time) {
        onNbnsMessage(t, peer, b, time);
        b->retrieveAll();
    });
}

void PduServer::seedLiveStatus()
{
    _Device& device = GlobalData::getDevice();
    _DeviceStatus& status = device.status;
    status.onOffMask = 0;
    status.calibratedMask = 0;
    status.inputCalibrated = false;
    status.calibratingPort = -1;
    status.input.voltage = 0;
    status.input.current = 0;
    status.input.power = 0;
    status.input.factor = 0;
    status.input.energy = device.energy[_Device::kInletEnergyIndex].realEnergy / 100.0;
    for (int port = 0; port < _Device::kPortSlots; ++port)
    {
        _DeviceOutputStatus& output = status.outputs[port];
        output.port = port;
        output.voltage = 0;
        output.current = 0;
        output.power = 0;
        output.factor = 0;
        output.energy = device.energy[port].realEnergy / 100.0;
        status.pingActionDone[port] = 1;
        status.pingTestResult[port] = 0;
    }
}
