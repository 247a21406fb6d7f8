#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "DeviceNetwork.h"
#include "DeviceRecords.h"
#include "DeviceStatus.h"
#include "DeviceThresholds.h"

// "CHS" in the settings is Chinese; any other value, or none, English.
enum Language : int
{
    kLanguageChinese = 0,
    kLanguageEnglish = 1,
};

// 0 normal; any other value flipped.
enum LcdDirection : int
{
    kLcdNormal = 0,
    kLcdFlipped = 1,
};

// Energy counters of one port, hundredths of a kWh.
struct _DeviceEnergy
{
    uint32_t referenceEnergy = 0;  // the module's last accepted raw reading
    uint32_t realEnergy = 0;       // the running counter shown and kept
};

// The master's cache of one slave, filled by its polls.
struct _SlaveDevice
{
    int32_t address = 0;
    int32_t pollIndex = 0;  // 1-based; also the slave's mirror slot
    bool valid = false;
    int32_t portCount = 0;
    std::string uid;
    std::string deviceName;
    std::array<std::string, _DeviceStatus::kPortSlots> portNames;
    std::string fwVersion;
    _DeviceInputThreshold inputThreshold;
    _DeviceStatus status;
};

// The local unit's whole in-memory record.
struct _Device
{
    // One power module: names, limits and delays exist for outlets 0 to 7,
    // whatever outlet count the identity text claims.
    static constexpr int kPortSlots = 8;
    static constexpr int kEnergySlots = kPortSlots + 1;
    static constexpr int kInletEnergyIndex = kPortSlots;

    int32_t address = 0;
    int32_t portCount = 0;
    int32_t maxInputCurrent = 0;
    bool isMaster = false;
    std::map<int, _SlaveDevice> slaves;
    _DeviceStatus status;
    std::array<_DeviceEnergy, kEnergySlots> energy{};
    std::array<int32_t, kEnergySlots> energyRiseCounts{};
    std::string uid;
    std::string deviceName;
    std::array<std::string, kPortSlots> portNames;
    _DeviceInputThreshold inputThreshold;
    std::array<_DeviceOutputThreshold, kPortSlots> outputThresholds{};
    _DeviceTempHumiThreshold tempHumiThreshold;
    std::array<_DevicePortDelay, kPortSlots> portDelays{};
    Language language = kLanguageChinese;
    _NetbiosName netbiosName;
    uint32_t gateway = 0;
    std::string softVersion;
    std::string description;
    std::map<int, PingSetting> pingSettings;
    std::string ntpServer;
    std::string secondNtpServer;

    // Outlets that have a slot in the per-outlet tables: min(portCount, 8).
    int slotCount() const { return portCount < 0 ? 0 : (portCount > kPortSlots ? kPortSlots : portCount); }
};
