#pragma once

#include <cstdint>

namespace zentrava {

struct SimulatedReader;

// The UltraLight's own commands: its selection takes the first ready UltraLight, and writes go to
// the selected one a page at a time. Its reads are rf_M1_read's (MifareCommands).
struct UltralightCommands {
    static int32_t select(SimulatedReader &reader, uint8_t *serial, uint8_t *len);
    static int32_t write(SimulatedReader &reader, uint8_t page, const uint8_t *data);
};

} // namespace zentrava
