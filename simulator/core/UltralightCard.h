#pragma once

#include "BlockMemoryCard.h"
#include "MifareReadable.h"

namespace zentrava {

// Mifare UltraLight: 16 pages of 4 bytes. Pages 0 and 1 hold the 7-byte serial number with its
// check bytes and are read-only; page 2 carries the two lock bytes, page 3 the one-time
// programmable bits; pages 4 to 15 are free until locked. Lock and one-time bits can only be set.
class UltralightCard : public BlockMemoryCard, public MifareReadable {
public:
    static std::unique_ptr<UltralightCard> factoryNew(const Bytes &uid);
    static std::unique_ptr<UltralightCard> fromJson(const nlohmann::ordered_json &card, const std::string &where);

    std::string typeName() const override { return "ultralight"; }
    RadioMode radioMode() const override { return RadioMode::Iso14443A; }
    Bytes uid() const override;
    std::array<uint8_t, 2> tagType() const override { return {0x44, 0x00}; }
    nlohmann::ordered_json toJson() const override;
    std::unique_ptr<VirtualCard> clone() const override;

    // Four pages from the given one, wrapping past page 15: 16 bytes.
    int32_t read(uint8_t page, uint8_t *data) override;
    int32_t write(uint8_t page, const uint8_t *data);

private:
    explicit UltralightCard(Bytes memory);
    bool pageLocked(int page) const;
};

} // namespace zentrava
