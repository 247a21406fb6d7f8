#include "PmMeterModel.h"

#include <algorithm>
#include <cmath>

namespace pmemu
{
namespace
{
constexpr int kInletSlot = PmMeterModel::kOutlets;
constexpr PmMeterModel::Clock::time_point kNoTrip = PmMeterModel::Clock::time_point::max();

double nonNegative(double v)
{
    return std::isfinite(v) && v > 0 ? v : 0.0;
}
}

PmMeterModel::PmMeterModel(Now now) : now_(std::move(now)), last_(now_())
{
    amps_[kInletSlot] = -1;
    std::fill(std::begin(tripAt_), std::end(tripAt_), kNoTrip);
}

int PmMeterModel::slot(int port)
{
    if (port >= 0 && port < kOutlets)
        return port;
    return port == kInlet ? kInletSlot : -1;
}

double PmMeterModel::voltsLocked() const { return volts_ * voltsDrift_; }

double PmMeterModel::outletAmpsLocked(int outlet) const
{
    return (relays_ >> outlet) & 1 ? nonNegative(amps_[outlet]) * ampsDrift_[outlet] : 0.0;
}

double PmMeterModel::outletWattsLocked(int outlet) const
{
    if (!((relays_ >> outlet) & 1))
        return 0.0;
    if (fixedWatts_[outlet] >= 0)
        return fixedWatts_[outlet];
    return nonNegative(voltsLocked() * outletAmpsLocked(outlet) * factor_[outlet]);
}

double PmMeterModel::ampsLocked(int s) const
{
    if (s < kInletSlot)
        return outletAmpsLocked(s);
    if (amps_[kInletSlot] >= 0)
        return amps_[kInletSlot];
    double sum = 0;
    for (int i = 0; i < kOutlets; ++i)
        sum += outletAmpsLocked(i);
    return sum;
}

double PmMeterModel::wattsLocked(int s) const
{
    if (s < kInletSlot)
        return outletWattsLocked(s);
    if (fixedWatts_[kInletSlot] >= 0)
        return fixedWatts_[kInletSlot];
    double sum = 0;
    for (int i = 0; i < kOutlets; ++i)
        sum += outletWattsLocked(i);
    return sum;
}

// Every change of the load first books the energy drawn under the old load,
// trips that fell due meanwhile included, each at its own time.
void PmMeterModel::advanceLocked()
{
    const Clock::time_point now = now_();
    for (;;)
    {
        int first = -1;
        for (int i = 0; i < kOutlets; ++i)
            if (tripAt_[i] <= now && (first < 0 || tripAt_[i] < tripAt_[first]))
                first = i;
        if (first < 0)
            break;
        bookEnergyLocked(std::max(tripAt_[first], last_));
        relays_ = static_cast<uint8_t>(relays_ & ~(1u << first));
        tripAt_[first] = kNoTrip;
        ++trips_;
    }
    bookEnergyLocked(now);
}

void PmMeterModel::bookEnergyLocked(Clock::time_point until)
{
    const double seconds = std::chrono::duration<double>(until - last_).count();
    last_ = until;
    if (seconds <= 0)
        return;
    // W x s -> hundredths of a kWh: / 3600 / 1000 x 100.
    const double scale = seconds * energyRate_ / 36000.0;
    for (int s = 0; s <= kInletSlot; ++s)
        energy_[s] += wattsLocked(s) * scale;
}

std::optional<PmReading> PmMeterModel::reading(int port)
{
    const int s = slot(port);
    if (s < 0)
        return std::nullopt;
    std::lock_guard<std::mutex> lock(mutex_);
    advanceLocked();
    PmReading r;
    r.volts = voltsLocked();
    r.amps = ampsLocked(s);
    r.watts = wattsLocked(s);
    r.energyHundredths = static_cast<uint64_t>(energy_[s]);
    return r;
}

void PmMeterModel::setStuck(int outlet, Stuck stuck)
{
    if (outlet < 0 || outlet >= kOutlets)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    stuck_[outlet] = stuck;
    if (stuck == Stuck::kFree)
        return;
    setRelayLocked(outlet, stuck == Stuck::kOn);
    tripAt_[outlet] = kNoTrip;  // a stuck relay does not trip
}

PmMeterModel::Stuck PmMeterModel::stuck(int outlet) const
{
    if (outlet < 0 || outlet >= kOutlets)
        return Stuck::kFree;
    std::lock_guard<std::mutex> lock(mutex_);
    return stuck_[outlet];
}

uint8_t PmMeterModel::switchRelay(int port, uint8_t action)
{
    if (port < 0 || port >= kOutlets || action > 1)
        return 1;
    std::lock_guard<std::mutex> lock(mutex_);
    // The firmware cannot tell a stuck relay: it drives the coil and reports success.
    if (stuck_[port] != Stuck::kFree)
        return 0;
    setRelayLocked(port, action == 1);
    if (action == 1 && tripAfter_[port].count() > 0)
        tripAt_[port] = last_ + tripAfter_[port];  // last_: now, as setRelayLocked just advanced
    return 0;
}

void PmMeterModel::setRelay(int port, bool on)
{
    if (port < 0 || port >= kOutlets)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    setRelayLocked(port, on);
}

void PmMeterModel::setRelayLocked(int port, bool on)
{
    advanceLocked();
    const uint8_t bit = static_cast<uint8_t>(1u << port);
    relays_ = on ? (relays_ | bit) : (relays_ & ~bit);
    if (!on)
        tripAt_[port] = kNoTrip;
}

uint8_t PmMeterModel::relayBits() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    // A const reader cannot book the trips; it sees them all the same.
    return static_cast<uint8_t>(relays_ & ~dueTripsLocked(now_()));
}

void PmMeterModel::setRelayBits(uint8_t bits)
{
    std::lock_guard<std::mutex> lock(mutex_);
    advanceLocked();
    relays_ = bits;
    for (int i = 0; i < kOutlets; ++i)
        if (!((bits >> i) & 1))
            tripAt_[i] = kNoTrip;
}

uint8_t PmMeterModel::dueTripsLocked(Clock::time_point now) const
{
    uint8_t due = 0;
    for (int i = 0; i < kOutlets; ++i)
        if (tripAt_[i] <= now)
            due = static_cast<uint8_t>(due | (1u << i));
    return due;
}

void PmMeterModel::setTrip(int outlet, std::chrono::milliseconds after)
{
    if (outlet < 0 || outlet >= kOutlets)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    advanceLocked();  // a trip already due still happened
    tripAfter_[outlet] = std::max(after, std::chrono::milliseconds(0));
    if (after.count() <= 0)
        tripAt_[outlet] = kNoTrip;
}

size_t PmMeterModel::trips() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    size_t due = 0;
    for (uint8_t bits = dueTripsLocked(now_()); bits != 0; bits &= static_cast<uint8_t>(bits - 1))
        ++due;
    return trips_ + due;
}

std::optional<PmMeterModel::Clock::time_point> PmMeterModel::nextTrip() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    const Clock::time_point now = now_();
    Clock::time_point first = kNoTrip;
    for (const Clock::time_point at : tripAt_)
        if (at > now)
            first = std::min(first, at);
    return first == kNoTrip ? std::nullopt : std::optional<Clock::time_point>(first);
}

void PmMeterModel::setVoltage(double volts)
{
    std::lock_guard<std::mutex> lock(mutex_);
    advanceLocked();
    volts_ = nonNegative(volts);
}

double PmMeterModel::voltage() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return volts_;
}

void PmMeterModel::setCurrent(int port, double amps)
{
    const int s = slot(port);
    if (s < 0)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    advanceLocked();
    amps_[s] = s == kInletSlot && amps < 0 ? -1.0 : nonNegative(amps);
}

void PmMeterModel::setVoltageDrift(double factor)
{
    std::lock_guard<std::mutex> lock(mutex_);
    advanceLocked();
    voltsDrift_ = nonNegative(factor);
}

void PmMeterModel::setCurrentDrift(int outlet, double factor)
{
    if (outlet < 0 || outlet >= kOutlets)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    advanceLocked();
    ampsDrift_[outlet] = nonNegative(factor);
}

void PmMeterModel::setPowerFactor(int port, double factor)
{
    const int s = slot(port);
    if (s < 0)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    advanceLocked();
    factor_[s] = nonNegative(factor);
}

void PmMeterModel::setPower(int port, double watts)
{
    const int s = slot(port);
    if (s < 0)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    advanceLocked();
    fixedWatts_[s] = std::isfinite(watts) && watts >= 0 ? watts : -1.0;
}

void PmMeterModel::setEnergy(int port, uint64_t hundredths)
{
    const int s = slot(port);
    if (s < 0)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    advanceLocked();
    energy_[s] = static_cast<double>(hundredths);
}

void PmMeterModel::setEnergyRate(double rate)
{
    std::lock_guard<std::mutex> lock(mutex_);
    advanceLocked();
    energyRate_ = nonNegative(rate);
}

void PmMeterModel::caliParams(uint16_t& voltage, uint16_t& current, uint16_t& power) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    voltage = caliVoltage_;
    current = caliCurrent_;
    power = caliPower_;
}

void PmMeterModel::setCaliParams(uint16_t voltage, uint16_t current, uint16_t power)
{
    std::lock_guard<std::mutex> lock(mutex_);
    caliVoltage_ = voltage;
    caliCurrent_ = current;
    caliPower_ = power;
}

uint8_t PmMeterModel::calibrate(int port)
{
    const int s = slot(port);
    std::lock_guard<std::mutex> lock(mutex_);
    advanceLocked();
    const int measured = s == kInletSlot ? 0 : s;
    if (s < 0 || !((relays_ >> measured) & 1))
        return 1;
    if (calibrationFailure_ != 0)
        return calibrationFailure_;
    if (s != kInletSlot)
        calibrated_ = static_cast<uint8_t>(calibrated_ | (1u << s));
    return 0;
}

uint8_t PmMeterModel::calibratedBits() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return calibrated_;
}

void PmMeterModel::setCalibratedBits(uint8_t bits)
{
    std::lock_guard<std::mutex> lock(mutex_);
    calibrated_ = bits;
}

void PmMeterModel::setCalibrationFailure(uint8_t result)
{
    std::lock_guard<std::mutex> lock(mutex_);
    calibrationFailure_ = result;
}
}
