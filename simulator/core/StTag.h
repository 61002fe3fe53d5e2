#pragma once

#include "BlockMemoryCard.h"

namespace zentrava {

// An ST short-range tag (SR176, SRIX4K) in radio mode 0x73: rf_st_select wakes every one in the
// field and answers the chip ID of the first. A new ST tag derives from it.
class StTag : public BlockMemoryCard {
public:
    RadioMode radioMode() const override { return RadioMode::StMicro; }
    std::array<uint8_t, 2> tagType() const override { return {0x00, 0x00}; }
    virtual uint8_t chipId() const = 0;

protected:
    using BlockMemoryCard::BlockMemoryCard;
};

} // namespace zentrava
