// Events of the unit's own devices and services, carried into the device
// record, the energy database, the SNMP mirror and the Modbus registers.
#include "CalibrationModule.h"
#include "GlobalData.h"
#include "LocalOutlets.h"
#include "MeterReading.h"
#include "PduServer.h"
#include "PowerModuleContainer.h"
#include "SharedMemory.h"
#include "menu/MenuController.h"
#include "modbus/ModbusController.h"
#include "modbus/RegisterValue.h"
#include "muduo/base/Logging.h"

namespace
{
const uint64_t kLowWord = 0xFFFFFFFFULL;

bool sameValue(const _DEVICE_VALUE& a, const _DEVICE_VALUE& b)
{
    return a.voltage == b.voltage && a.current == b.current && a.power == b.power && a.factor == b.factor &&
           a.energy == b.energy;
}

template <class Status>
_DEVICE_VALUE mirrorValue(const Status& s)
{
    _DEVICE_VALUE v;
    v.voltage = MeterReading::scaled(s.voltage, 10);
    v.current = MeterReading::scaled(s.current, 100);
    v.power = MeterReading::scaled(s.power, 10);
    v.factor = MeterReading::scaled(s.factor, 100);
    v.energy = MeterReading::scaled(s.energy, 100);
    return v;
}

template <class Status>
void zeroLoad(Status& s)
{
    s.current = 0;
    s.power = 0;
    s.factor = 0;
}
}

bool PduServer::localOutlet(int port) { return LocalOutlets::contains(port); }

bool PduServer::calibrating() const { return calibration_->state() != CalibrationModule::kIdle; }

void PduServer::onPowerDataReceived(int port, const _PowerModuleData* data)
{
    _Device& device = GlobalData::getDevice();
    const bool inlet = port == powermodule::kInletPort;
    if (!data || (!inlet && !localOutlet(port)))
    {
        LOG_WARN << "meter data of port " << port << " dropped: not a port of this unit";
        return;
    }
    const MeterReading reading(*data);
    if (!reading.energyFits())
    {
        LOG_WARN << "port:" << port << " energy reading " << reading.energy() << " dropped: beyond 32 bits";
        return;
    }
    const int slot = inlet ? _Device::kInletEnergyIndex : port;
    _DeviceEnergy& counters = device.energy[slot];
    const uint32_t energy = static_cast<uint32_t>(reading.energy());
    const bool accepted = reading.acceptEnergy(counters.referenceEnergy, device.energyRiseCounts[slot]);
    const uint32_t rise = accepted && energy > counters.referenceEnergy ? energy - counters.referenceEnergy : 0;
    const uint32_t amps = reading.currentHundredths();
    const uint32_t watts = reading.powerHundredths();
    if (inlet)
    {
        _DeviceInputStatus& input = device.status.input;
        input.voltage = reading.roundedVolts();
        const uint32_t maxAmps = 2000u * static_cast<uint32_t>(device.portCount > 0 ? device.portCount : 0);
        if (amps <= MeterReading::kNoCurrent)
            zeroLoad(input);
        else if (amps < maxAmps && watts >= 100)
        {
            input.current = reading.currentTwoDecimals();
            input.power = reading.roundedWatts();
            input.factor = reading.factor();
            counters.realEnergy += rise;
        }
    }
    else
    {
        _DeviceOutputStatus& output = device.status.outputs[port];
        output.port = port;
        output.voltage = reading.roundedVolts();
        // A switched-off outlet keeps what it showed last.
        if (device.status.onOffMask & (1ULL << port))
        {
            if (amps <= MeterReading::kNoCurrent)
                zeroLoad(output);
            else if (amps < MeterReading::kOutletMaxAmps * 100 && watts > 100)
            {
                output.current = reading.amps();
                output.power = reading.roundedWatts();
                output.factor = reading.factor();
                counters.realEnergy += rise;
            }
        }
    }
    if (accepted)
    {
        counters.referenceEnergy = energy;
        energyDatabase_.updateEnergy(port, counters.referenceEnergy, counters.realEnergy);
        if (inlet)
        {
            LOG_INFO << "update energy," << "reference:" << counters.referenceEnergy << " real:" << counters.realEnergy;
        }
        else
        {
            LOG_INFO << "port:" << port << " update energy, energy:" << energy << " reference:"
                     << counters.referenceEnergy << " real:" << counters.realEnergy;
        }
    }
    if (inlet)
    {
        device.status.input.energy = counters.realEnergy / 100.0;
        publishInletReading();
        if (menu_)
            menu_->onDeviceInputDataReceived(&device.status.input);
    }
    else
    {
        device.status.outputs[port].energy = counters.realEnergy / 100.0;
        publishOutletReading(port);
        if (menu_)
            menu_->onDeviceOutputDataReceived(port, &device.status.outputs[port]);
    }
}

void PduServer::publishInletReading()
{
    const _DEVICE_VALUE value = mirrorValue(GlobalData::getDevice().status.input);
    using modbus::RegisterValue;
    modbus_->setInputVoltage(RegisterValue::word(value.voltage));
    modbus_->setInputCurrent(RegisterValue::word(value.current));
    modbus_->setInputPower(RegisterValue::word(value.power));
    modbus_->setInputFactor(RegisterValue::word(value.factor));
    modbus_->setInputEnergy(RegisterValue::doubleWord(value.energy));
    if (!sameValue(value, snmpDeviceStatus_.value))
    {
        snmpDeviceStatus_.value = value;
        SharedMemory::instance().setDeviceValue(snmpDeviceStatus_.value);
    }
}

void PduServer::publishOutletReading(int port)
{
    const _DEVICE_VALUE value = mirrorValue(GlobalData::getDevice().status.outputs[port]);
    using modbus::RegisterValue;
    modbus_->setOutputVoltage(port, RegisterValue::word(value.voltage));
    modbus_->setOutputCurrent(port, RegisterValue::word(value.current));
    modbus_->setOutputPower(port, RegisterValue::word(value.power));
    modbus_->setOutputFactor(port, RegisterValue::word(value.factor));
    modbus_->setOutputEnergy(port, RegisterValue::doubleWord(value.energy));
    _OUTLET_VALUE& scratch = snmpOutletStatus_[port].value;
    if (!sameValue(value, scratch))
    {
        scratch = value;
        SharedMemory::instance().setOutletValue(port, scratch);
    }
}

void PduServer::onPowerControlRelay(int port, unsigned char state)
{
    if (!calibrating() && localOutlet(port))
        portStatusManager_.startUpdatePort(port, state);
}

void PduServer::onPortOperationStart(int port)
{
    if (!calibrating() && localOutlet(port))
        portStatusManager_.startPortOperation(port);
}

void PduServer::onPortOperationEnd(int port)
{
    if (!calibrating() && localOutlet(port))
        portStatusManager_.endPortOperation(port);
}

void PduServer::onPowerControlRelayResponse(int port, unsigned char action, unsigned char result)
{
    LOG_INFO << "port:" << port << ",relay action:" << static_cast<int>(action) << ",result:"
             << static_cast<int>(result);
    if (!localOutlet(port))
    {
        LOG_WARN << "relay reply of port " << port << " dropped: not an outlet of this unit";
        return;
    }
    if (result == 0)
    {
        _DeviceStatus& status = GlobalData::getDevice().status;
        if (action == 1)
            status.pingActionDone[port] = 0;
        // Shown: a command's acknowledgement; the loop's own frames leave the report shown.
        const int shown = powerModuleContainer_->shownState(port);
        if (shown >= 0)
        {
            const unsigned char on = shown == 1;
            status.onOffMask = (on ? status.onOffMask | (1ULL << port) : status.onOffMask & ~(1ULL << port)) & kLowWord;
            publishOutletState(port, on);
            modbus_->setOutputStatus(port, &on, 1);
        }
        if (calibrating())
            calibration_->onOutputOnOff(port, action, 0);
    }
    // The calibration pages pass every reply on to the calibration module.
    if (menu_)
        menu_->onDevicePortOnOff(port, action, result);
}

void PduServer::publishOutletState(int port, bool on)
{
    const int state = on ? 1 : 0;
    if (!localOutlet(port) || state == snmpOutletStatus_[port].onOff)
        return;
    snmpOutletStatus_[port].onOff = state;
    SharedMemory::instance().setOutletPortStatus(port, state);
}

void PduServer::onPowerQueryStatusResponse(int module, int count, unsigned char onBits, unsigned char secondBits)
{
    const int first = module * 8;
    if (module < 0 || first >= GlobalData::getDevice().slotCount())
    {
        LOG_WARN << "status reply of module " << module << " dropped: no such module";
        return;
    }
    const int outlets = GlobalData::getDevice().slotCount() - first;
    count = count < 0 ? 0 : (count > 8 ? 8 : (count > outlets ? outlets : count));
    // A report of fewer outlets says nothing of the others: they stay as shown.
    if (count == 0)
        return;
    _DeviceStatus& status = GlobalData::getDevice().status;
    const uint64_t named = ((1ULL << count) - 1) << first;
    const unsigned char reported = onBits;
    onBits = powerModuleContainer_->shownBits(module, onBits);
    auto merge = [named, first](uint64_t mask, unsigned char bits) {
        return ((mask & ~named) | ((static_cast<uint64_t>(bits) << first) & named)) & kLowWord;
    };
    status.onOffMask = merge(status.onOffMask, onBits);
    status.calibratedMask = merge(status.calibratedMask, secondBits);
    unsigned char states[8] = {};
    for (int i = 0; i < count; ++i)
    {
        states[i] = (onBits >> i) & 1;
        // An outlet found on without this daemon switching it (kept on
        // across a restart, switched at the module) shows as it is.
        publishOutletState(first + i, states[i] != 0);
    }
    modbus_->setOutputStatus(first, states, count);
    if (menu_)
        menu_->onDeviceStatusChanged(module, static_cast<unsigned int>(status.onOffMask & kLowWord),
                                     static_cast<unsigned int>(status.calibratedMask & kLowWord));
    if (!calibrating())
        portStatusManager_.updatePortStatus(first, first + count - 1, static_cast<uint64_t>(reported) << first);
}

void PduServer::onPowerRequestCaliParamResponse(int port, unsigned short voltage, unsigned short current,
                                                unsigned short power, unsigned char result)
{
    LOG_INFO << "port:" << port << " caliVoltage:" << voltage << " caliCurrent:" << current
             << " caliPower:" << power << " result:" << muduo::Fmt("0x%02X", static_cast<int>(result));
    if (menu_)
        menu_->onCaliParamRequested(port, voltage, current, power, result);
}

void PduServer::onPowerTransferCaliParamResponse(int port, unsigned char result)
{
    LOG_INFO << "transfer cali param result:" << muduo::Fmt("0x%02X", static_cast<int>(result));
    if (menu_)
        menu_->onCaliPramTransferred(port, result);
}

void PduServer::onPowerStartCalibrateResponse(int port, unsigned char result)
{
    _DeviceStatus& status = GlobalData::getDevice().status;
    if (result == 0 && port == powermodule::kInletPort)
        status.inputCalibrated = true;
    else if (result == 0 && localOutlet(port))
        status.calibratedMask |= 1ULL << port;
    else if (result == 0)
    {
        LOG_WARN << "calibrate reply of port " << port << " dropped: not a port of this unit";
    }
    LOG_INFO << "calibrate result:" << muduo::Fmt("0x%02X", static_cast<int>(result));
    if (menu_)
        menu_->onCalibrated(port, result);
}
