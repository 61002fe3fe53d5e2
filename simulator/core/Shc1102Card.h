#pragma once

#include "BlockMemoryCard.h"

namespace zentrava {

// SHC1102 tag: 16 blocks of 4 bytes. Blocks 0 and 1 hold the factory serial number (read-only),
// blocks 2 to 7 are readable by anyone, blocks 8 to 15 only after the 4-byte password, which is
// block 8 itself. Every write needs the password first.
class Shc1102Card : public BlockMemoryCard {
public:
    static constexpr int PasswordBlock = 8;

    static std::unique_ptr<Shc1102Card> factoryNew(const Bytes &uid);
    static std::unique_ptr<Shc1102Card> fromJson(const nlohmann::ordered_json &card, const std::string &where);

    std::string typeName() const override { return "shc1102"; }
    RadioMode radioMode() const override { return RadioMode::Iso14443A; }
    Bytes uid() const override { return Bytes(memory().begin(), memory().begin() + 8); }
    std::array<uint8_t, 2> tagType() const override { return {0x02, 0x11}; }
    nlohmann::ordered_json toJson() const override;
    std::unique_ptr<VirtualCard> clone() const override;

    int32_t authenticate(const uint8_t *password);
    int32_t read(uint8_t block, uint8_t *data);
    int32_t write(uint8_t block, const uint8_t *data);

protected:
    void endSession() override { m_authenticated = false; }

private:
    explicit Shc1102Card(Bytes memory);

    bool m_authenticated = false;
};

} // namespace zentrava
