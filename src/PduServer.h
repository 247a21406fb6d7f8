#pragma once
#include <array>
#include <memory>
#include <string>

#include "ConfigProcessor.h"
#include "EnergyDatabase.h"
#include "PeerLog.h"
#include "PortStatusManager.h"
#include "PowerModuleTypes.h"
#include "RequestPaths.h"
#include "SharedMemoryRecords.h"
#include "muduo/base/noncopyable.h"
#include "muduo/net/TcpServer.h"
#include "netext/UdpServer.h"

class BeeperModule;
class CalibrationModule;
class DeviceMonitor;
class EnergyRecorder;
class KeyReader;
class NtpTask;
class PingTaskContainer;
class PowerModuleContainer;
class ScheduledTaskContainer;
class SerialPort;
class TempHumModule;
class WatchdogModule;
namespace modbus
{
class ModbusController;
}
namespace menu
{
class MenuController;
}
namespace web
{
class WebProcessorFactory;
}
namespace snmp
{
class SnmpProcessorFactory;
}
namespace MgrCtrl
{
class MgrCtrlProcessorFactory;
class MgrCtrlScanPort;
}
namespace CascadeCtrl
{
class CascadeCtrlProcessorFactory;
class CascadeCtrlRelay;
class CascadeCtrlSender;
}

// Owns every long-lived part of the daemon: the servers, the device modules,
// the databases and the request factories; binds every callback to one of
// its handlers and starts everything in a fixed order. The factories and the
// menu reach the modules through the accessors. Loop thread only.
class PduServer : muduo::noncopyable
{
public:
    typedef muduo::net::InetAddress InetAddress;
    typedef muduo::net::UdpTranceiverPtr UdpTranceiverPtr;
    typedef muduo::net::TcpConnectionPtr TcpConnectionPtr;
    typedef muduo::net::Buffer Buffer;
    typedef muduo::Timestamp Timestamp;

    // Unsent output a TCP connection may queue before it stops reading its
    // peer's requests (until the peer has read its answers).
    static constexpr size_t kOutputHighWaterMark = 64 * 1024;
    // Each TCP server's bounds: connections at once; the time after which a
    // connection that has sent no whole request is closed (a management
    // program may poll every few minutes); the idle time after which a
    // connection gives its place to a new one at the bound (so one peer
    // holding every place idle cannot shut others out); the descriptors
    // accepting always leaves free for the databases, the serial lines and
    // the mail program.
    static constexpr size_t kMaxConnectionsPerServer = 32;
    static constexpr double kIdleSeconds = 600;
    static constexpr double kRoomAfterIdleSeconds = 10;
    static constexpr int kDescriptorReserve = 16;

    PduServer(muduo::net::EventLoop* loop, const InetAddress& webAddr, const InetAddress& configAddr,
              const InetAddress& modbusAddr, const InetAddress& snmpAddr, const InetAddress& scanAddr,
              const InetAddress& mgrCtrlAddr, const InetAddress& nbnsAddr);
    ~PduServer();

    void start();

    muduo::net::EventLoop* getLoop() const { return loop_; }
    const std::shared_ptr<PowerModuleContainer>& getPowerModuleContainer() const { return powerModuleContainer_; }
    const std::shared_ptr<ScheduledTaskContainer>& getScheduledTaskContainer() const { return scheduledTasks_; }
    const std::shared_ptr<PingTaskContainer>& getPingTaskContainer() const { return pingTasks_; }
    EnergyDatabase& getEnergyDatabase() { return energyDatabase_; }
    const std::shared_ptr<EnergyRecorder>& getEnergyRecorder() const { return energyRecorder_; }
    const std::shared_ptr<NtpTask>& getNtpTask() const { return ntpTask_; }
    CascadeCtrl::CascadeCtrlProcessorFactory* getCascadeCtrlProcessorFactory() const { return cascadeFactory_.get(); }
    const std::shared_ptr<CalibrationModule>& getCalibrationModule() const { return calibration_; }
    const std::shared_ptr<BeeperModule>& getBeeperModule() const { return beeper_; }
    const std::shared_ptr<DeviceMonitor>& getDeviceMonitor() const { return deviceMonitor_; }
    const std::shared_ptr<menu::MenuController>& getMenuController() const { return menu_; }
    const std::shared_ptr<SerialPort>& getCascadeSerialPort() const { return cascadePort_; }
    const std::shared_ptr<modbus::ModbusController>& getModbusController() const { return modbus_; }

    // The request interfaces' entry points the socket handlers call; bound
    // where their factories are made (and by tests).
    RequestPaths& requestPaths() { return requestPaths_; }
    // The one cascade endpoint; also binds the cascade line's reader to it.
    void setCascadeCtrlProcessorFactory(std::unique_ptr<CascadeCtrl::CascadeCtrlProcessorFactory> factory);

    // ---- Socket handlers (PduServerSocketHandlers.cpp) -----------------
    void onWebRequestMessage(const UdpTranceiverPtr& tranceiver, const InetAddress& peer, const char* data,
                             int length, Timestamp time);
    void onConfigMessage(const UdpTranceiverPtr& tranceiver, const InetAddress& peer, Buffer* buffer, Timestamp time);
    void onSnmpMessage(const UdpTranceiverPtr& tranceiver, const InetAddress& peer, const std::string& request,
                       Timestamp time);
    void onModbusConnection(const TcpConnectionPtr& connection);
    void onModbusMessage(const TcpConnectionPtr& connection, Buffer* buffer, Timestamp time);
    void onMgrCtrlScanMessage(const UdpTranceiverPtr& tranceiver, const InetAddress& peer, Buffer* buffer,
                              Timestamp time);
    void onMgrCtrlConnection(const TcpConnectionPtr& connection);
    void onMgrCtrlMessage(const TcpConnectionPtr& connection, Buffer* buffer, Timestamp time);
    void onNbnsMessage(const UdpTranceiverPtr& tranceiver, const InetAddress& peer, Buffer* buffer, Timestamp time);
    void onCascadeDataReceived(Buffer* buffer, Timestamp time);

    // ---- Device callbacks (PduServerDeviceCallbacks.cpp) ----------------
    void onPowerDataReceived(int port, const _PowerModuleData* data);
    void onPowerControlRelay(int port, unsigned char state);
    void onPowerControlRelayResponse(int port, unsigned char action, unsigned char result);
    void onPowerQueryStatusResponse(int module, int count, unsigned char onBits, unsigned char secondBits);
    void onPortOperationStart(int port);
    void onPortOperationEnd(int port);
    void onPowerRequestCaliParamResponse(int port, unsigned short voltage, unsigned short current,
                                         unsigned short power, unsigned char result);
    void onPowerTransferCaliParamResponse(int port, unsigned char result);
    void onPowerStartCalibrateResponse(int port, unsigned char result);
    void onKeyReceived(unsigned short code, unsigned short state);
    void onTempHum(bool valid, double temperature, double humidity);
    void onScheduledTask(int id, unsigned int ports, int action);
    void onPingTaskSuccess(int port, bool periodic);
    void onPingTaskFail(int port, int action);
    void onTimeAdjusted();
    bool onModbusPowerModuleControl(const unsigned char* states, int first, int count);

private:
    // Construction steps, in their order.
    void restoreEnergy();
    void seedSharedMemory();
    void seedModbus();
    void bindPowerModuleCallbacks();
    void bindServiceCallbacks();
    void bindServerCallbacks();
    void bindMgrCtrlPaths();
    void buildMenu();
    void seedLiveStatus();
    void loadScheduledTasks();
    void loadPingTasks();

    // Handler helpers.
    static void limitOutput(const TcpConnectionPtr& connection);
    // Outlets that have a slot in every per-outlet table of the record.
    static bool localOutlet(int port);
    bool calibrating() const;
    void publishInletReading();
    void publishOutletReading(int port);
    // The mirror's on/off word of a local outlet, written when it changes.
    void publishOutletState(int port, bool on);
    void forwardToSlave(const std::shared_ptr<CascadeCtrl::CascadeCtrlRelay>& relay,
                        const std::shared_ptr<CascadeCtrl::CascadeCtrlSender>& sender);

    muduo::net::EventLoop* loop_;
    _DEVICE_STATUS snmpDeviceStatus_;
    std::array<_OUTLET_STATUS, 60> snmpOutletStatus_;
    muduo::net::UdpServer webServer_;
    muduo::net::UdpServer configServer_;
    muduo::net::UdpServer snmpServer_;
    muduo::net::TcpServer modbusServer_;
    muduo::net::UdpServer scanServer_;
    std::unique_ptr<MgrCtrl::MgrCtrlScanPort> scanPort_;
    muduo::net::TcpServer mgrCtrlServer_;
    muduo::net::UdpServer nbnsServer_;
    std::shared_ptr<KeyReader> keyReader_;
    std::shared_ptr<PowerModuleContainer> powerModuleContainer_;
    std::shared_ptr<BeeperModule> beeper_;
    std::shared_ptr<menu::MenuController> menu_;
    std::shared_ptr<ScheduledTaskContainer> scheduledTasks_;
    std::shared_ptr<PingTaskContainer> pingTasks_;
    std::shared_ptr<TempHumModule> tempHum_;
    std::shared_ptr<DeviceMonitor> deviceMonitor_;
    std::shared_ptr<modbus::ModbusController> modbus_;
    ConfigProcessor configProcessor_;
    PortStatusManager portStatusManager_;
    EnergyDatabase energyDatabase_;
    std::shared_ptr<CalibrationModule> calibration_;
    std::shared_ptr<EnergyRecorder> energyRecorder_;
    std::shared_ptr<SerialPort> cascadePort_;
    std::shared_ptr<NtpTask> ntpTask_;
    std::unique_ptr<web::WebProcessorFactory> webFactory_;
    std::unique_ptr<snmp::SnmpProcessorFactory> snmpFactory_;
    std::unique_ptr<MgrCtrl::MgrCtrlProcessorFactory> mgrCtrlFactory_;
    std::unique_ptr<CascadeCtrl::CascadeCtrlProcessorFactory> cascadeFactory_;
    std::shared_ptr<WatchdogModule> watchdog_;
    RequestPaths requestPaths_;
    PeerLog peerLog_;
    bool timeAdjusted_ = false;  // the first NTP correction re-arms the tasks
};
