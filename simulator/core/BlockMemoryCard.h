#pragma once

#include "VirtualCard.h"

#include <optional>
#include <string>

namespace zentrava {

// A card whose memory is a plain array of equal blocks (Mifare Standard, UltraLight, SHC1102):
// the scenario file lists them as "blocks": {"0": "hex", ...}, the tool dumps, imports and
// exports them whole.
class BlockMemoryCard : public VirtualCard {
public:
    int blockCount() const { return m_blockCount; }
    int blockSize() const { return m_blockSize; }
    const Bytes &memory() const { return m_memory; }
    Bytes block(int number) const;

    // Replaces the whole image (an imported dump); the card's serial number follows the image.
    // Returns the reason when the image does not fit this card.
    std::optional<std::string> replaceMemory(const Bytes &image);

    std::vector<std::string> dumpLines() const override;

protected:
    BlockMemoryCard(int blockCount, int blockSize, Bytes memory);

    uint8_t *blockData(int number) { return m_memory.data() + number * m_blockSize; }
    const uint8_t *blockData(int number) const { return m_memory.data() + number * m_blockSize; }
    void writeBlock(int number, const uint8_t *data);

    nlohmann::ordered_json blocksToJson() const;
    // Blocks the file gives replace those of the factory image this card was made with.
    void blocksFromJson(const nlohmann::ordered_json &blocks, const std::string &where);
    // Extra rules an image must follow (a readable serial number); checked on every replacement.
    virtual std::optional<std::string> checkImage(const Bytes &) const { return std::nullopt; }

private:
    int m_blockCount;
    int m_blockSize;
    Bytes m_memory;
};

} // namespace zentrava
