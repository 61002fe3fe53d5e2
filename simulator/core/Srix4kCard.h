#pragma once

#include "StTag.h"

namespace zentrava {

// SRIX4K tag (ST, ISO 14443 type B): 128 blocks of 4 bytes, low byte first, and an 8-byte UID
// apart from them. Blocks 0 to 4 are one-time bits (a write only clears bits), blocks 5 and 6
// are counters that only ever decrease, blocks 7 to 15 can be write-protected by the lock
// register (bit 0: blocks 7 and 8, bit n: block 8 + n; set bits stay set), blocks 16 to 127 are
// free.
class Srix4kCard : public StTag {
public:
    static constexpr int BlockCount = 128;
    static constexpr int BlockBytes = 4;

    static std::unique_ptr<Srix4kCard> factoryNew(const Bytes &uid);
    static std::unique_ptr<Srix4kCard> fromJson(const nlohmann::ordered_json &card, const std::string &where);

    std::string typeName() const override { return "srix4k"; }
    Bytes uid() const override { return m_uid; }
    nlohmann::ordered_json toJson() const override;
    std::unique_ptr<VirtualCard> clone() const override;

    uint8_t chipId() const override { return m_chipId; }
    uint8_t lockRegister() const { return m_lockRegister; }
    bool blockLocked(int block) const;

    int32_t read(uint8_t block, uint8_t *data);
    int32_t write(uint8_t block, const uint8_t *data);
    int32_t writeLockRegister(uint8_t lockBits);

private:
    Srix4kCard(Bytes uid, Bytes memory);

    Bytes m_uid;
    uint8_t m_chipId = 0;
    uint8_t m_lockRegister = 0;
};

} // namespace zentrava
