#include "PmControlCommands.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "PowerModuleEmulator.h"

namespace pmemu
{
namespace
{
bool readPort(std::istream& in, int& port)
{
    std::string word;
    if (!(in >> word))
        return false;
    if (word == "inlet" || word == "255")
        port = PmMeterModel::kInlet;
    else if (word.size() == 1 && word[0] >= '0' && word[0] < '0' + PmMeterModel::kOutlets)
        port = word[0] - '0';
    else
        return false;
    return true;
}

bool readSwitch(std::istream& in, bool& on)
{
    std::string word;
    if (!(in >> word) || (word != "on" && word != "off"))
        return false;
    on = word == "on";
    return true;
}

bool readNumber(std::istream& in, double& value)
{
    return (in >> value) && std::isfinite(value);
}

// A value of zero or more, or "automatic" for the word "auto".
bool readValueOrAuto(std::istream& in, double& value, double automatic)
{
    std::string word;
    if (!(in >> word))
        return false;
    if (word == "auto")
    {
        value = automatic;
        return true;
    }
    std::istringstream number(word);
    return readNumber(number, value) && value >= 0;
}

// A current, or for "auto" the outlet's own load on the board (for the
// inlet: the sum of the outlets).
bool readCurrent(std::istream& in, int port, double& value)
{
    std::string word;
    if (!(in >> word))
        return false;
    if (word == "auto")
    {
        value = port == PmMeterModel::kInlet ? -1.0 : PmMeterModel::kBoardAmps[port];
        return true;
    }
    std::istringstream number(word);
    return readNumber(number, value);
}

bool readStuck(std::istream& in, PmMeterModel::Stuck& stuck)
{
    std::string word;
    if (!(in >> word))
        return false;
    if (word == "free")
        stuck = PmMeterModel::Stuck::kFree;
    else if (word == "on" || word == "off")
        stuck = word == "on" ? PmMeterModel::Stuck::kOn : PmMeterModel::Stuck::kOff;
    else
        return false;
    return true;
}

// Bytes a second, a whole number from 0 to 1000000.
bool readPace(std::istream& in, double& value)
{
    return readNumber(in, value) && value >= 0 && value <= 1e6 && value == std::floor(value);
}

// The reply pace after the line's, or the line's where none follows.
bool readReplyPace(std::istream& in, double line, double& value)
{
    value = line;
    return (in >> std::ws).eof() || readPace(in, value);
}

// A time in whole milliseconds, or 0 for "off" where off is allowed.
bool readMillis(std::istream& in, double& value, bool offAllowed)
{
    std::string word;
    if (!(in >> word))
        return false;
    if (offAllowed && word == "off")
    {
        value = 0;
        return true;
    }
    std::istringstream number(word);
    return readNumber(number, value) && value >= 0 && value < 1e7 && value == std::floor(value);
}

bool atEnd(std::istream& in)
{
    return (in >> std::ws).eof();
}

// "OUTLET on|off MS", or "off" alone: every 0.
bool readChatter(std::istream& in, int& outlet, bool& on, double& every)
{
    std::string word;
    if (!(in >> word))
        return false;
    every = 0;
    if (word == "off")
        return atEnd(in);
    std::istringstream port(word);
    return readPort(port, outlet) && outlet != PmMeterModel::kInlet && readSwitch(in, on)
           && readMillis(in, every, false) && atEnd(in);
}

// "voltage" (-1) or an outlet, then a factor near 1.
bool readDrift(std::istream& in, int& outlet, double& factor)
{
    std::string word;
    if (!(in >> word))
        return false;
    outlet = word == "voltage" ? -1 : -2;
    if (word.size() == 1 && word[0] >= '0' && word[0] < '0' + PmMeterModel::kOutlets)
        outlet = word[0] - '0';
    return outlet > -2 && readNumber(in, factor) && factor >= 0.9 && factor <= 1.1;
}
}

std::string PmControlCommands::execute(PowerModuleEmulator& emulator, const std::string& line)
{
    std::istringstream in(line);
    std::string command;
    if (!(in >> command))
        return "error: empty command";
    PmMeterModel& model = emulator.model();
    int port = 0;
    double value = 0, second = 0;
    bool on = false;
    PmMeterModel::Stuck stuck = PmMeterModel::Stuck::kFree;
    bool ok = true;
    if (command == "status")
        return status(emulator);
    else if (command == "voltage" && readValueOrAuto(in, value, PmMeterModel::kNominalVolts))
        model.setVoltage(value);
    else if (command == "current" && readPort(in, port) && readCurrent(in, port, value))
        model.setCurrent(port, value);
    else if (command == "power" && readPort(in, port) && readValueOrAuto(in, value, -1.0))
        model.setPower(port, value);
    else if (command == "drift" && readDrift(in, port, value))
        port < 0 ? model.setVoltageDrift(value) : model.setCurrentDrift(port, value);
    else if (command == "pf" && readPort(in, port) && readNumber(in, value) && value >= 0)
        model.setPowerFactor(port, value);
    else if (command == "energy" && readPort(in, port) && readNumber(in, value) && value >= 0 && value < 4e16)
        model.setEnergy(port, static_cast<uint64_t>(std::llround(value * 100.0)));
    else if (command == "energy-rate" && readNumber(in, value) && value >= 0)
        model.setEnergyRate(value);
    else if (command == "relay" && readPort(in, port) && port != PmMeterModel::kInlet && readSwitch(in, on))
        model.setRelay(port, on);
    else if (command == "stuck" && readPort(in, port) && port != PmMeterModel::kInlet && readStuck(in, stuck))
        model.setStuck(port, stuck);
    else if (command == "silent" && readSwitch(in, on))
        emulator.setSilent(on);
    else if (command == "delay" && readNumber(in, value) && value >= 0 && value < 1e7)
        emulator.setReplyDelay(PowerModuleEmulator::Millis(static_cast<long long>(value)));
    else if (command == "corrupt" && readNumber(in, value) && value >= 0 && value < 1e9)
        emulator.corruptNextReplies(static_cast<int>(value));
    else if (command == "split" && readNumber(in, value) && readNumber(in, second) && value >= 0 && value < 64
             && second >= 0 && second < 1e7)
        emulator.setSplitReplies(static_cast<size_t>(value), PowerModuleEmulator::Millis(static_cast<long long>(second)));
    else if (command == "pace" && readPace(in, value) && readReplyPace(in, value, second))
    {
        emulator.setLinePace(static_cast<int>(value));
        emulator.setReplyPace(static_cast<int>(second));
    }
    else if (command == "hold" && readSwitch(in, on))
        emulator.holdReplies(on);
    else if (command == "trip" && readPort(in, port) && port != PmMeterModel::kInlet && readMillis(in, value, true)
             && atEnd(in))
        model.setTrip(port, std::chrono::milliseconds(static_cast<long long>(value)));
    else if (command == "chatter" && readChatter(in, port, on, value))
        emulator.setChatter(port, on ? 1 : 0, PowerModuleEmulator::Millis(static_cast<long long>(value)));
    else
        ok = false;
    return ok ? "ok" : "error: bad command: " + line;
}

std::string PmControlCommands::status(PowerModuleEmulator& emulator)
{
    const uint8_t bits = emulator.relayBits();
    std::string relays;
    for (int i = 0; i < PmMeterModel::kOutlets; ++i)
        relays += (bits >> i) & 1 ? '1' : '0';
    const PmReading inlet = emulator.model().reading(PmMeterModel::kInlet).value_or(PmReading());
    char text[240];
    std::snprintf(text, sizeof text,
                  "relays=%s voltage=%.2f inlet=%.2fA,%.2fW,%llu.%02llukWh requests=%zu pace=%d/%d held=%d",
                  relays.c_str(), inlet.volts, inlet.amps, inlet.watts,
                  static_cast<unsigned long long>(inlet.energyHundredths / 100),
                  static_cast<unsigned long long>(inlet.energyHundredths % 100), emulator.requests().size(),
                  emulator.linePace(), emulator.replyPace(), emulator.repliesHeld() ? 1 : 0);
    return text;
}
}
