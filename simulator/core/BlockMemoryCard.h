#pragma once

#include "VirtualCard.h"

#include <memory>
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

    // Where a card keeps its serial number: in its first `blocks` blocks (or pages, as the
    // chip's data sheet calls them).
    struct SerialInBlocks {
        std::size_t bytes;
        int blocks;
        const char *unit = "block";
        const char *name = "a serial number";
    };
    // Reads a card whose serial number lives in its memory: from "Card.UID", from the blocks
    // that hold it, or from both, which must then agree. `factory` makes the card from a serial
    // number; the file's blocks replace its factory ones.
    template <class Card, class Factory>
    static std::unique_ptr<Card> fromJsonWithSerial(const nlohmann::ordered_json &card, const std::string &where,
                                                    const SerialInBlocks &serial, Factory factory)
    {
        const std::optional<Bytes> uid = serialFromJson(card, where, serial);
        auto result = factory(uid.value_or(Bytes(serial.bytes, 0)));
        result->serialBlocksFromJson(card, where, uid, serial);
        return result;
    }
    // A part of a block that the file may give apart from the blocks (a password, a key): it
    // fills the block when the file does not give that block, and must agree with it when it
    // does. `object` holds the part under `key`; `place` names the object in messages.
    void partFromJson(const nlohmann::ordered_json &object, const char *key, const std::string &place,
                      const nlohmann::ordered_json &card, int block, std::size_t offset, std::size_t size,
                      const char *unit = "block");
    // Extra rules an image must follow (a readable serial number); checked on every replacement.
    virtual std::optional<std::string> checkImage(const Bytes &) const { return std::nullopt; }

private:
    static std::optional<Bytes> serialFromJson(const nlohmann::ordered_json &card, const std::string &where,
                                               const SerialInBlocks &serial);
    void serialBlocksFromJson(const nlohmann::ordered_json &card, const std::string &where,
                              const std::optional<Bytes> &uid, const SerialInBlocks &serial);

    int m_blockCount;
    int m_blockSize;
    Bytes m_memory;
};

} // namespace zentrava
