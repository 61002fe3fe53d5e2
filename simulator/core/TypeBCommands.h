#pragma once

#include <cstdint>

namespace zentrava {

struct SimulatedReader;

// Type B: the request (REQB, or WUPB that wakes halted cards too) answered by every card with an
// answer to request B (the type B processor card, the TRH1064, the AT88RF020 in its own mode),
// and the pass-through's raw frames to type B cards and ISO 15693 tags.
struct TypeBCommands {
    static int32_t request(SimulatedReader &reader, uint8_t mode, uint8_t *answer, uint8_t *len);
    static int32_t transceive(SimulatedReader &reader, const uint8_t *data, int32_t count, uint8_t *answer,
                              uint8_t *len);
};

} // namespace zentrava
