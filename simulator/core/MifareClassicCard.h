#pragma once

#include "BlockMemoryCard.h"
#include "MifareAccessConditions.h"
#include "MifareReadable.h"

#include <optional>

namespace zentrava {

// Mifare Standard 1K (S50: 16 sectors of 4 blocks) and 4K (S70: 32 sectors of 4 blocks, then 8
// of 16). Each sector ends with its trailer holding key A, the access bits and key B; block 0 is
// the read-only manufacturer block with the 4-byte serial number.
class MifareClassicCard : public BlockMemoryCard, public MifareReadable {
public:
    enum class Capacity { OneK, FourK };

    static constexpr uint8_t AuthKeyA = 0x60;
    static constexpr uint8_t AuthKeyB = 0x61;

    // A card as it leaves the factory: key A and key B FFFFFFFFFFFF, transport access bits
    // FF078069, data blocks zero.
    static std::unique_ptr<MifareClassicCard> factoryNew(Capacity capacity, const Bytes &uid);
    static std::unique_ptr<MifareClassicCard> fromJson(Capacity capacity, const nlohmann::ordered_json &card,
                                                       const std::string &where);

    std::string typeName() const override;
    RadioMode radioMode() const override { return RadioMode::Iso14443A; }
    Bytes uid() const override;
    std::array<uint8_t, 2> tagType() const override;
    nlohmann::ordered_json toJson() const override;
    std::unique_ptr<VirtualCard> clone() const override;

    Capacity capacity() const { return m_capacity; }
    // The select acknowledge, which rf_select hands back as the card's size byte.
    uint8_t sak() const { return m_capacity == Capacity::OneK ? 0x08 : 0x18; }
    int sectorCount() const { return m_capacity == Capacity::OneK ? 16 : 40; }
    static int sectorOfBlock(int block) { return block < 128 ? block / 4 : 32 + (block - 128) / 16; }
    static int firstBlockOfSector(int sector) { return sector < 32 ? sector * 4 : 128 + (sector - 32) * 16; }
    static int blocksInSector(int sector) { return sector < 32 ? 4 : 16; }
    static int trailerOfSector(int sector) { return firstBlockOfSector(sector) + blocksInSector(sector) - 1; }

    int32_t authenticate(uint8_t mode, uint8_t block, const uint8_t *key);
    int32_t read(uint8_t block, uint8_t *data) override;
    int32_t write(uint8_t block, const uint8_t *data);
    // The value operations end with the transfer back into the same block.
    int32_t initValue(uint8_t block, int32_t value);
    int32_t readValue(uint8_t block, int32_t *value);
    int32_t increment(uint8_t block, int32_t amount);
    int32_t decrement(uint8_t block, int32_t amount);

protected:
    void endSession() override { m_authSector = -1; }

private:
    MifareClassicCard(Capacity capacity, Bytes memory);

    bool isTrailer(int block) const { return trailerOfSector(sectorOfBlock(block)) == block; }
    // Group of the access bits that governs a block: 0 to 2 for data, 3 for the trailer.
    static int accessGroupOfBlock(int block);
    // Ok, or the refusal when the block is out of range, its sector not authenticated or its
    // access bits malformed (a blocked sector).
    int32_t checkAuthenticated(int block, std::optional<MifareAccessConditions> &conditions);
    int32_t changeValue(uint8_t block, int64_t delta, bool increase);

    Capacity m_capacity;
    int m_authSector = -1;
    bool m_authKeyB = false;
};

} // namespace zentrava
