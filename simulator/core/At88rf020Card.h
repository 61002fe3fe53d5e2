#pragma once

#include "BlockMemoryCard.h"

namespace zentrava {

// AT88RF020 tag (ISO 14443 type B): 32 pages of 8 bytes. Page 0 holds the 4-byte PUPI
// (read-only) and 4 lock bytes, one bit a page (bit p%8 of byte 4 + p/8), set by the lock
// command only and never cleared; page 2 holds the 6-byte signature and the 16-bit counter
// (high byte first) that only the count command changes and only ever advances; page 3 holds
// the 8-byte password, which is never read out. Writes and the lock need the password first.
class At88rf020Card : public BlockMemoryCard {
public:
    static constexpr int PageCount = 32;
    static constexpr int PageBytes = 8;
    static constexpr int PasswordPage = 3;
    static constexpr int CounterPage = 2;

    static std::unique_ptr<At88rf020Card> factoryNew(const Bytes &pupi);
    static std::unique_ptr<At88rf020Card> fromJson(const nlohmann::ordered_json &card, const std::string &where);

    std::string typeName() const override { return "at88rf020"; }
    RadioMode radioMode() const override { return RadioMode::At88rf020; }
    Bytes uid() const override { return Bytes(memory().begin(), memory().begin() + 4); }
    std::array<uint8_t, 2> tagType() const override { return {0x00, 0x00}; }
    nlohmann::ordered_json toJson() const override;
    std::unique_ptr<VirtualCard> clone() const override;

    // The answer to request B: 0x50, the PUPI, application data and protocol information.
    Bytes answerToRequest() const;
    std::optional<Bytes> answerToRequestB() const override { return answerToRequest(); }
    bool pageLocked(int page) const;

    int32_t check(const uint8_t *password);
    int32_t read(uint8_t page, uint8_t *data);
    int32_t write(uint8_t page, const uint8_t *data);
    int32_t lock(const uint8_t *lockBytes);
    int32_t count(const uint8_t *signature);

protected:
    void endSession() override { m_checked = false; }

private:
    explicit At88rf020Card(Bytes memory);

    bool m_checked = false;
};

} // namespace zentrava
