#pragma once

#include "BlockMemoryCard.h"

namespace zentrava {

// A vicinity tag (ISO 15693) in radio mode 0x31: it needs no selection, answers the inventory
// and is addressed by its 8-byte UID, fixed in the chip apart from the memory. A new vicinity
// tag derives from it.
class VicinityTag : public BlockMemoryCard {
public:
    static constexpr std::size_t UidBytes = 8;

    RadioMode radioMode() const override { return RadioMode::Iso15693; }
    Bytes uid() const override { return m_uid; }
    // Vicinity tags answer no type A request.
    std::array<uint8_t, 2> tagType() const override { return {0x00, 0x00}; }
    // The data storage format the inventory answers; 0 for a tag that keeps none.
    virtual uint8_t dsfid() const { return 0; }

protected:
    VicinityTag(int blockCount, int blockSize, Bytes uid)
        : BlockMemoryCard(blockCount, blockSize, Bytes{}), m_uid(std::move(uid))
    {
    }

private:
    Bytes m_uid;
};

} // namespace zentrava
