#pragma once

#include "ReaderSettings.h"

#include "reader/ReaderFunctions.h"

#include <cstdint>

namespace zentrava {

struct SimulatedReader;

// The reader itself, apart from its cards: its settings as the scenario file keeps them, the
// port, the light and the SAM slot's rate.
struct ReaderDevice {
    ReaderSettings settings;
    // A command changed the settings: the session writes them back.
    bool settingsChanged = false;
    bool portOpen = false;
    uint8_t light = 0;
    uint8_t samBaudCode = 0;
};

// The calls that need no open port: the library's version, the port's own opening and closing,
// and the cipher tool, which runs in the library.
constexpr bool needsOpenPort(ReaderFunction function)
{
    using enum ReaderFunction;
    return function != lib_ver && function != rf_init_com && function != rf_close_com && function != des_encrypt &&
           function != des_decrypt;
}

// The commands of the reader device: library version, port, device number, model, beep, light,
// antenna, radio mode and clock.
struct DeviceCommands {
    static int32_t libraryVersion(SimulatedReader &reader, uint32_t *version);
    static int32_t openPort(SimulatedReader &reader, int32_t port, int32_t baud);
    static int32_t closePort(SimulatedReader &reader);
    static int32_t setDeviceNumber(SimulatedReader &reader, uint16_t number);
    // Low byte first.
    static int32_t getDeviceNumber(SimulatedReader &reader, uint8_t *number);
    static int32_t model(SimulatedReader &reader, uint8_t *text, uint8_t *len);
    static int32_t beep(SimulatedReader &reader, uint8_t tensOfMs);
    static int32_t light(SimulatedReader &reader, uint8_t colour);
    static int32_t antenna(SimulatedReader &reader, uint8_t on);
    static int32_t initType(SimulatedReader &reader, uint8_t type);
    static int32_t readTime(SimulatedReader &reader, uint8_t *clock, uint8_t *len);
    static int32_t writeTime(SimulatedReader &reader, const uint8_t *clock);
};

} // namespace zentrava
