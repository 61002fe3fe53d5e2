#pragma once

#include <cstdint>

namespace zentrava {

struct SimulatedReader;

// The SRF55V's own page commands, addressed by the tag's UID in the ISO 15693 radio mode; the
// write reads the page back into readBack and wants *len to be 8 on entry.
struct Srf55vCommands {
    static int32_t read(SimulatedReader &reader, const uint8_t *uid, uint8_t page, uint8_t *data, uint8_t *len);
    static int32_t writeReread(SimulatedReader &reader, const uint8_t *uid, uint8_t page, const uint8_t *data,
                               uint8_t *readBack, uint8_t *len);
};

} // namespace zentrava
