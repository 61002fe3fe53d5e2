#pragma once

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
};

} // namespace zentrava
