#pragma once

#include "RfField.h"

#include <cstdint>

namespace zentrava {

// The ISO 15693 commands of the reader library, run on the field. Vicinity tags need no
// selection: every tag powered in the ISO 15693 radio mode answers the inventory, and each
// command reaches the tag whose UID it carries. The mode byte is 2 (addressed by the UID) or 6
// (addressed, with the option flag that Tag-it writes and locks carry); both are answered alike,
// anything else is refused.
class Iso15693Commands {
public:
    // 9-byte records, one per tag in field order: a flags byte (0, no error) and the UID.
    static int32_t inventory(const RfField &field, uint8_t *records, uint8_t *len);
    static int32_t systemInformation(RfField &field, uint8_t mode, const uint8_t *uid, uint8_t *data, uint8_t *len);
    static int32_t read(RfField &field, uint8_t mode, const uint8_t *uid, uint8_t first, uint8_t count,
                        uint8_t *data, uint8_t *len);
    static int32_t blockSecurity(RfField &field, uint8_t mode, const uint8_t *uid, uint8_t first, uint8_t count,
                                 uint8_t *data, uint8_t *len);
    static int32_t write(RfField &field, uint8_t mode, const uint8_t *uid, uint8_t block, const uint8_t *data);
    static int32_t lockBlock(RfField &field, uint8_t mode, const uint8_t *uid, uint8_t block);
    static int32_t writeAfi(RfField &field, uint8_t mode, const uint8_t *uid, uint8_t afi);
    static int32_t lockAfi(RfField &field, uint8_t mode, const uint8_t *uid);
    static int32_t writeDsfid(RfField &field, uint8_t mode, const uint8_t *uid, uint8_t dsfid);
    static int32_t lockDsfid(RfField &field, uint8_t mode, const uint8_t *uid);

    // The SRF55V's own page commands; the write reads the page back into readBack and wants
    // *len to be 8 on entry.
    static int32_t srf55vRead(RfField &field, const uint8_t *uid, uint8_t page, uint8_t *data, uint8_t *len);
    static int32_t srf55vWriteReread(RfField &field, const uint8_t *uid, uint8_t page, const uint8_t *data,
                                     uint8_t *readBack, uint8_t *len);
};

} // namespace zentrava
