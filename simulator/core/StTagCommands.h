#pragma once

#include <cstdint>

namespace zentrava {

struct SimulatedReader;

// The ST tags (radio mode 0x73): the selection wakes every ST tag in the field and selects the
// first, whose chip ID it answers; the SR176 and SRIX4K commands then address the tag of their
// kind among those that answered.
struct StTagCommands {
    static int32_t select(SimulatedReader &reader, uint8_t *chipId);
    static int32_t sr176Read(SimulatedReader &reader, uint8_t block, uint8_t *data, uint8_t *len);
    static int32_t sr176Write(SimulatedReader &reader, uint8_t block, const uint8_t *data);
    static int32_t sr176Protect(SimulatedReader &reader, uint8_t lockRegister);
    static int32_t srix4kRead(SimulatedReader &reader, uint8_t block, uint8_t *data, uint8_t *len);
    static int32_t srix4kWrite(SimulatedReader &reader, uint8_t block, const uint8_t *data);
    static int32_t srix4kUid(SimulatedReader &reader, uint8_t *uid, uint8_t *len);
    static int32_t srix4kWriteLockRegister(SimulatedReader &reader, uint8_t lockRegister);
};

} // namespace zentrava
