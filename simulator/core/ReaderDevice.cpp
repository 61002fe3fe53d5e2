#include "ReaderDevice.h"

#include "CardCommand.h"
#include "ReaderClock.h"
#include "SimulatedReader.h"

#include <algorithm>

namespace zentrava {

namespace {
constexpr int32_t BaudRates[] = {9600, 14400, 19200, 28800, 38400, 57600, 115200};
} // namespace

int32_t DeviceCommands::libraryVersion(SimulatedReader &reader, uint32_t *version)
{
    *version = reader.device.settings.libraryVersion;
    return status::Ok;
}

int32_t DeviceCommands::openPort(SimulatedReader &reader, int32_t port, int32_t baud)
{
    ReaderDevice &device = reader.device;
    device.portOpen = port == device.settings.port &&
                      std::find(std::begin(BaudRates), std::end(BaudRates), baud) != std::end(BaudRates);
    return device.portOpen ? status::Ok : status::PortUnavailable;
}

int32_t DeviceCommands::closePort(SimulatedReader &reader)
{
    reader.device.portOpen = false;
    return status::Ok;
}

int32_t DeviceCommands::setDeviceNumber(SimulatedReader &reader, uint16_t number)
{
    ReaderDevice &device = reader.device;
    if (device.settings.deviceNumber != number) {
        device.settings.deviceNumber = number;
        device.settingsChanged = true;
    }
    return status::Ok;
}

int32_t DeviceCommands::getDeviceNumber(SimulatedReader &reader, uint8_t *number)
{
    number[0] = static_cast<uint8_t>(reader.device.settings.deviceNumber);
    number[1] = static_cast<uint8_t>(reader.device.settings.deviceNumber >> 8);
    return status::Ok;
}

int32_t DeviceCommands::model(SimulatedReader &reader, uint8_t *text, uint8_t *len)
{
    const std::string &model = reader.device.settings.model;
    copyOut(Bytes(model.begin(), model.end()), text, len);
    return status::Ok;
}

int32_t DeviceCommands::beep(SimulatedReader &, uint8_t)
{
    return status::Ok;
}

int32_t DeviceCommands::light(SimulatedReader &reader, uint8_t colour)
{
    if (colour > 3)
        return status::WrongParameter;
    reader.device.light = colour;
    return status::Ok;
}

int32_t DeviceCommands::antenna(SimulatedReader &reader, uint8_t on)
{
    if (on > 1)
        return status::WrongParameter;
    reader.field.setAntenna(on == 1);
    return status::Ok;
}

int32_t DeviceCommands::initType(SimulatedReader &reader, uint8_t type)
{
    const auto mode = radioModeFromByte(type);
    if (!mode)
        return status::WrongParameter;
    reader.field.setRadioMode(*mode);
    return status::Ok;
}

int32_t DeviceCommands::readTime(SimulatedReader &reader, uint8_t *clock, uint8_t *len)
{
    const ReaderClock::Bcd now = ReaderClock::read(reader.device.settings.clockOffsetSeconds, ReaderClock::localNow());
    std::copy(now.begin(), now.end(), clock);
    *len = static_cast<uint8_t>(now.size());
    return status::Ok;
}

int32_t DeviceCommands::writeTime(SimulatedReader &reader, const uint8_t *clock)
{
    const auto offset = ReaderClock::offsetFor(clock, ReaderClock::localNow());
    if (!offset)
        return status::WrongParameter;
    reader.device.settings.clockOffsetSeconds = *offset;
    reader.device.settingsChanged = true;
    return status::Ok;
}

} // namespace zentrava
