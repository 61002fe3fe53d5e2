#pragma once

#include <cstdint>

namespace zentrava {

struct SimulatedReader;

// The TRH1064 (type B mode), selected by request B (TypeBCommands): its commands address the
// selected tag.
struct Trh1064Commands {
    static int32_t read(SimulatedReader &reader, uint8_t page, uint8_t *data, uint8_t *len);
    static int32_t write(SimulatedReader &reader, uint8_t page, const uint8_t *data, uint8_t count);
    static int32_t check(SimulatedReader &reader, const uint8_t *key);
};

} // namespace zentrava
