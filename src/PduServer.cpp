#include "PduServer.h"

#include <vector>

#include "BeeperModule.h"
#include "CalibrationModule.h"
#include "DateTimeCheck.h"
#include "DeviceMonitor.h"
#include "EnergyRecorder.h"
#include "GlobalData.h"
#include "KeyReader.h"
#include "MailQueue.h"
#include "NtpTask.h"
#include "PingTaskContainer.h"
#include "PowerModuleContainer.h"
#include "ScheduledTaskContainer.h"
#include "ScheduledTaskOperations.h"
#include "SerialPort.h"
#include "TempHumModule.h"
#include "WatchdogModule.h"
#include "cascade/processor/CascadeCtrlMasterProcessorFactory.h"
#include "cascade/processor/CascadeCtrlSlaveProcessorFactory.h"
#include "manage_control/processor/MgrCtrlProcessorFactory.h"
#include "manage_control/processor/MgrCtrlScanPort.h"
#include "menu/MenuController.h"
#include "modbus/ModbusController.h"
#include "muduo/base/Logging.h"
#include "snmp/processor/SnmpProcessorFactory.h"
#include "web/web_processor/WebProcessorFactory.h"

namespace
{
const char* const kCascadeDevName = "/dev/ttyS3";
const int kCascadeBaud = 38400;
const int kNtpIntervalHours = 24;
const int kPingFailThreshold = 3;
}

PduServer::PduServer(muduo::net::EventLoop* loop, const InetAddress& webAddr, const InetAddress& configAddr,
                     const InetAddress& modbusAddr, const InetAddress& snmpAddr, const InetAddress& scanAddr,
                     const InetAddress& mgrCtrlAddr, const InetAddress& nbnsAddr)
    : loop_(loop),
      snmpDeviceStatus_(),
      snmpOutletStatus_(),
      webServer_(loop, webAddr, true),
      configServer_(loop, configAddr, true),
      snmpServer_(loop, snmpAddr, true),
      modbusServer_(loop, modbusAddr, "modbusServer"),
      scanServer_(loop, scanAddr, true),
      scanPort_(std::make_unique<MgrCtrl::MgrCtrlScanPort>(loop)),
      mgrCtrlServer_(loop, mgrCtrlAddr, "mgrCtrl"),
      nbnsServer_(loop, nbnsAddr, true),
      keyReader_(std::make_shared<KeyReader>(loop)),
      powerModuleContainer_(std::make_shared<PowerModuleContainer>(loop)),
      beeper_(std::make_shared<BeeperModule>()),
      scheduledTasks_(std::make_shared<ScheduledTaskContainer>(loop)),
      pingTasks_(std::make_shared<PingTaskContainer>(loop, kPingFailThreshold)),
      tempHum_(std::make_shared<TempHumModule>(loop)),
      deviceMonitor_(std::make_shared<DeviceMonitor>(loop, beeper_, powerModuleContainer_)),
      modbus_(std::make_shared<modbus::ModbusController>(loop)),
      portStatusManager_(powerModuleContainer_),
      calibration_(std::make_shared<CalibrationModule>(loop, powerModuleContainer_)),
      energyRecorder_(std::make_shared<EnergyRecorder>(loop, energyDatabase_)),
      cascadePort_(std::make_shared<SerialPort>(loop, kCascadeDevName)),
      ntpTask_(std::make_shared<NtpTask>(loop, kNtpIntervalHours))
{
    _Device& device = GlobalData::getDevice();
    if (!device.isMaster)
    {
        LOG_INFO << "slave device,addr:" << device.address;
    }
    else
    {
        for (auto& entry : device.slaves)
        {
            entry.second.valid = false;
            entry.second.portCount = 0;
            LOG_INFO << "slave addr:" << entry.second.address;
        }
    }
    webFactory_ = std::make_unique<web::WebProcessorFactory>(this);
    requestPaths_.parseWeb = [this](const std::string& request, std::shared_ptr<web::WebProcessor>& processor) {
        return webFactory_->parseWebProcessor(request, processor);
    };
    snmpFactory_ = std::make_unique<snmp::SnmpProcessorFactory>(this);
    requestPaths_.parseSnmp = [this](const std::string& request) { return snmpFactory_->parseSnmpProcessor(request); };
    mgrCtrlFactory_ = std::make_unique<MgrCtrl::MgrCtrlProcessorFactory>(loop, this);
    bindMgrCtrlPaths();
    if (device.isMaster)
        setCascadeCtrlProcessorFactory(std::make_unique<CascadeCtrl::CascadeCtrlMasterProcessorFactory>(loop, this));
    else
        setCascadeCtrlProcessorFactory(std::make_unique<CascadeCtrl::CascadeCtrlSlaveProcessorFactory>(loop, this));
    restoreEnergy();
    energyRecorder_->recordOnStartup();
    seedSharedMemory();
    seedModbus();
    bindPowerModuleCallbacks();
    powerModuleContainer_->addPowerModule(powerModuleContainer_->createPowerModule(loop, 0, true, true));
    bindServiceCallbacks();
    cascadePort_->configUart(kCascadeBaud);
    cascadePort_->setDataCallback([this](Buffer* buffer, Timestamp time) {
        onCascadeDataReceived(buffer, time);
        buffer->retrieveAll();
    });
    bindServerCallbacks();
    ntpTask_->setServerIp({device.ntpServer, device.secondNtpServer});
    ntpTask_->setTimeAdjustedCallback([this] { onTimeAdjusted(); });
    buildMenu();
    seedLiveStatus();
    loadScheduledTasks();
    loadPingTasks();
    watchdog_ = std::make_shared<WatchdogModule>(loop);
    // The loop watches the mail program's child for the mail queue.
    MailQueue::instance().attach(loop);
}

// Members go in reverse order: the watchdog first, then the cascade,
// manage-control, SNMP and web factories.
PduServer::~PduServer() { MailQueue::instance().detach(); }

void PduServer::start()
{
    watchdog_->start();
    webServer_.start();
    configServer_.start();
    modbusServer_.start();
    snmpServer_.start();
    nbnsServer_.start();
    portStatusManager_.start();
    scanServer_.start();
    mgrCtrlServer_.start();
    ntpTask_->start();
    powerModuleContainer_->startRead();
    powerModuleContainer_->startQueryAllOutputsStatus(0.5);
    powerModuleContainer_->startQueryAllPortsMeterData(0.1);
    cascadePort_->fileHandler()->startRead();
    keyReader_->startRead();
    tempHum_->startRead();
    beeper_->beepCount(3, 50, 50);
    deviceMonitor_->start(1.0);
    energyRecorder_->start();
    if (cascadeFactory_)
        cascadeFactory_->start();
}

void PduServer::bindMgrCtrlPaths()
{
    MgrCtrl::MgrCtrlProcessorFactory& factory = *mgrCtrlFactory_;
    requestPaths_.addMgrCtrlParser = [&factory](const std::string& name) { factory.addPacketParser(name); };
    requestPaths_.deleteMgrCtrlParser = [&factory](const std::string& name) { factory.deletePacketParser(name); };
    requestPaths_.parseMgrCtrl = [&factory](const std::string& name, const char* data, int length,
                                            std::shared_ptr<MgrCtrl::MgrCtrlProcessor>& processor) {
        return factory.parseMgrCtrlProcessor(name, data, length, processor);
    };
    MgrCtrl::MgrCtrlScanPort& scan = *scanPort_;
    requestPaths_.parseScanFrame = [&scan](const char* data, int length, Buffer& frame) {
        return scan.parseFrame(data, length, frame);
    };
    requestPaths_.parseScanDevice = [&scan](Buffer& frame, std::shared_ptr<MgrCtrl::MgrCtrlProcessor>& processor) {
        return scan.parseDevice(frame, processor);
    };
}

void PduServer::buildMenu()
{
    // The setting holds the negated direction: "1" (or nothing) is a normal screen.
    bool normal = true;
    if (!GlobalData::loadScreenDirFromDb(normal))
        normal = true;
    int minutes = 0;
    if (!GlobalData::loadBacklightAutoOffDb(minutes))
        minutes = 0;
    menu_ = std::make_shared<menu::MenuController>(loop_, GlobalData::getDevice().language,
                                                   normal ? kLcdNormal : kLcdFlipped, minutes, this);
    menu_->setPageRing({menu::kInfoMenu, menu::kInputMenu, menu::kOutputMenu, menu::kTempHumiMenu,
                        menu::kAddressMenu, menu::kSetMenu});
    menu_->switchMenu(menu_->getToFirstPage());
}

void PduServer::restoreEnergy()
{
    _Device& device = GlobalData::getDevice();
    // The counters exist for the outlets of the one power module only,
    // whatever count the identity text claims.
    for (int port = 0; port < device.slotCount(); ++port)
    {
        _DeviceEnergy& energy = device.energy[port];
        if (energyDatabase_.loadEnergy(port, energy.referenceEnergy, energy.realEnergy))
            LOG_INFO << "port:" << port << " reference energy:" << energy.referenceEnergy
                     << " real energy:" << energy.realEnergy;
        device.energyRiseCounts[port] = 0;
    }
    _DeviceEnergy& inlet = device.energy[_Device::kInletEnergyIndex];
    if (energyDatabase_.loadEnergy(255, inlet.referenceEnergy, inlet.realEnergy))
        LOG_INFO << "input:" << " reference energy:" << inlet.referenceEnergy << " real energy:" << inlet.realEnergy;
    device.energyRiseCounts[_Device::kInletEnergyIndex] = 0;
    LOG_INFO << "input ref energy:" << inlet.referenceEnergy << " real energy:" << inlet.realEnergy;
}

void PduServer::loadScheduledTasks()
{
    std::vector<_DeviceTask> tasks;
    if (!GlobalData::loadAllTasksFromDb(tasks))
        return;
    // Rows stored before the checks of ScheduledTaskOperations existed stay
    // in the table but are not armed: one line for all of them.
    int impossible = 0, beyond = 0;
    for (const _DeviceTask& task : tasks)
    {
        if (!DateTimeCheck::isValid(task))
            ++impossible;
        else if (scheduledTasks_->size() >= static_cast<size_t>(ScheduledTaskOperations::kMaxTasks))
            ++beyond;
        else
        {
            scheduledTasks_->addScheduledTask(task);
            scheduledTasks_->start(task.id);
        }
    }
    if (impossible + beyond > 0)
        LOG_WARN << "stored tasks not armed: " << impossible << " with a date the clock cannot hold, " << beyond
                 << " beyond the first " << ScheduledTaskOperations::kMaxTasks;
}

void PduServer::loadPingTasks()
{
    _Device& device = GlobalData::getDevice();
    if (!GlobalData::loadPingSettingFromDb(device.pingSettings))
        return;
    for (const auto& entry : device.pingSettings)
    {
        const PingSetting& setting = entry.second;
        if (setting.port < device.portCount && setting.enabled)
            pingTasks_->addPingTask(setting, true);
    }
    pingTasks_->listPingTasks();
}
