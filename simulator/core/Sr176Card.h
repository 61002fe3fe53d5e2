#pragma once

#include "StTag.h"

namespace zentrava {

// SR176 tag (ST, ISO 14443 type B): 16 blocks of 2 bytes, low byte first. Blocks 0 to 3 hold the
// 8-byte serial number (read-only); block 15 holds the chip ID (its low byte) and the lock
// register (its high byte), which only the protect command changes: each set bit b write-protects
// blocks 2b and 2b + 1 for good.
class Sr176Card : public StTag {
public:
    static constexpr int BlockCount = 16;
    static constexpr int BlockBytes = 2;
    static constexpr int SystemBlock = 15;

    static std::unique_ptr<Sr176Card> factoryNew(const Bytes &uid);
    static std::unique_ptr<Sr176Card> fromJson(const nlohmann::ordered_json &card, const std::string &where);

    std::string typeName() const override { return "sr176"; }
    Bytes uid() const override { return Bytes(memory().begin(), memory().begin() + 8); }
    nlohmann::ordered_json toJson() const override;
    std::unique_ptr<VirtualCard> clone() const override;

    uint8_t chipId() const override { return blockData(SystemBlock)[0]; }
    uint8_t lockRegister() const { return blockData(SystemBlock)[1]; }
    bool blockLocked(int block) const { return (lockRegister() >> (block / 2)) & 1; }

    int32_t read(uint8_t block, uint8_t *data);
    int32_t write(uint8_t block, const uint8_t *data);
    int32_t protect(uint8_t lockBits);

private:
    explicit Sr176Card(Bytes memory);
};

} // namespace zentrava
