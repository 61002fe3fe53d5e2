#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace zentrava {

// The simulated reader itself, as the scenario file's "reader" object describes it.
struct ReaderSettings {
    // The serial port the reader is attached to (COM1 to COM8).
    int port = 1;
    // Its sixth character tells the program which cards the reader supports; "F" means all.
    std::string model = "ZT600F-SIM";
    uint32_t libraryVersion = 1;
    // rf_init_device_number's 16-bit value; rf_get_device_number gives the low byte first.
    uint16_t deviceNumber = 0;
    // The reader's clock runs this many seconds ahead of the computer's local time.
    int64_t clockOffsetSeconds = 0;
    // Whether the library writes card memory and reader changes back into the scenario file.
    bool writeBack = true;
    // "timing": "real" makes every call take as long as the serial reader would need for it;
    // "off" answers at once (tests and demonstrations without waiting).
    bool realTiming = false;
    // The rate the reader's serial line is set to ("baud"). With real timing, rf_init_com at
    // another rate gets no answer; with timing off every rate of SerialRates opens.
    int32_t baud = 14400;
};

// The rates the reader's serial line speaks.
inline constexpr std::array<int32_t, 7> SerialRates = {9600, 14400, 19200, 28800, 38400, 57600, 115200};
inline bool isSerialRate(int64_t rate)
{
    return std::find(SerialRates.begin(), SerialRates.end(), rate) != SerialRates.end();
}

} // namespace zentrava
