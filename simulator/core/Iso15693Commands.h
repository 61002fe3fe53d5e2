#pragma once

#include <cstdint>

namespace zentrava {

struct SimulatedReader;

// The ISO 15693 commands of the reader library, run on the field. Vicinity tags need no
// selection: every tag powered in the ISO 15693 radio mode answers the inventory, and each
// command reaches the tag whose UID it carries. The mode byte is 2 (addressed by the UID) or 6
// (addressed, with the option flag that Tag-it writes and locks carry); both are answered alike,
// anything else is refused.
struct Iso15693Commands {
    // 9-byte records, one per tag in field order: a flags byte (0, no error) and the UID.
    static int32_t inventory(SimulatedReader &reader, uint8_t *records, uint8_t *len);
    static int32_t systemInformation(SimulatedReader &reader, uint8_t mode, const uint8_t *uid, uint8_t *data, uint8_t *len);
    static int32_t read(SimulatedReader &reader, uint8_t mode, const uint8_t *uid, uint8_t first, uint8_t count,
                        uint8_t *data, uint8_t *len);
    static int32_t blockSecurity(SimulatedReader &reader, uint8_t mode, const uint8_t *uid, uint8_t first, uint8_t count,
                                 uint8_t *data, uint8_t *len);
    static int32_t write(SimulatedReader &reader, uint8_t mode, const uint8_t *uid, uint8_t block, const uint8_t *data);
    static int32_t lockBlock(SimulatedReader &reader, uint8_t mode, const uint8_t *uid, uint8_t block);
    static int32_t writeAfi(SimulatedReader &reader, uint8_t mode, const uint8_t *uid, uint8_t afi);
    static int32_t lockAfi(SimulatedReader &reader, uint8_t mode, const uint8_t *uid);
    static int32_t writeDsfid(SimulatedReader &reader, uint8_t mode, const uint8_t *uid, uint8_t dsfid);
    static int32_t lockDsfid(SimulatedReader &reader, uint8_t mode, const uint8_t *uid);
};

} // namespace zentrava
