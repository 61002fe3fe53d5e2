#pragma once

#include <cstdint>

namespace zentrava {

struct SimulatedReader;

// Contactless processor cards: the type A and DESFire resets (a request, then the first ready
// card of that kind is selected and answers its serial number and answer to select), and the
// card application's APDUs and the deselect, which reach the selected processor card of any
// kind, type B included.
struct ProcessorCommands {
    static int32_t typeAReset(SimulatedReader &reader, uint8_t mode, uint8_t *answer, uint8_t *len);
    static int32_t desfireReset(SimulatedReader &reader, uint8_t mode, uint8_t *answer, uint8_t *len);
    static int32_t command(SimulatedReader &reader, const uint8_t *command, int32_t commandLen, uint8_t *answer,
                           uint8_t *len);
    static int32_t deselect(SimulatedReader &reader);
};

// A short APDU: header, 255 data bytes and Le.
inline constexpr int32_t MaxCommandLength = 261;
// An empty frame never reaches the card.
inline bool fitsCommand(int32_t length)
{
    return length > 0 && length <= MaxCommandLength;
}

} // namespace zentrava
