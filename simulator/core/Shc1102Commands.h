#pragma once

#include <cstdint>

namespace zentrava {

struct SimulatedReader;

// The SHC1102: the tag that answered the last type A request; its commands address it directly.
struct Shc1102Commands {
    static int32_t authenticate(SimulatedReader &reader, const uint8_t *password);
    static int32_t read(SimulatedReader &reader, uint8_t block, uint8_t *data, uint8_t *len);
    static int32_t write(SimulatedReader &reader, uint8_t block, const uint8_t *data);
};

} // namespace zentrava
