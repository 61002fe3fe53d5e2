#pragma once

#include <cstdint>

namespace zentrava {

// A type A card whose memory rf_M1_read reads 16 bytes at a time: a Mifare Standard block, or
// four UltraLight pages. A card that answers the Mifare read derives from it as well.
class MifareReadable {
public:
    virtual int32_t read(uint8_t block, uint8_t *data) = 0;

protected:
    ~MifareReadable() = default;
};

} // namespace zentrava
