#pragma once

#include <cstdint>

namespace zentrava {

struct SimulatedReader;

// The AT88RF020 (radio mode 0x72), selected by request B (TypeBCommands): its commands address
// the selected tag.
struct At88rf020Commands {
    static int32_t check(SimulatedReader &reader, const uint8_t *password);
    static int32_t read(SimulatedReader &reader, uint8_t page, uint8_t *data, uint8_t *len);
    static int32_t write(SimulatedReader &reader, uint8_t page, const uint8_t *data);
    static int32_t lock(SimulatedReader &reader, const uint8_t *lockBytes);
    static int32_t count(SimulatedReader &reader, const uint8_t *signature);
    static int32_t deselect(SimulatedReader &reader);
};

} // namespace zentrava
