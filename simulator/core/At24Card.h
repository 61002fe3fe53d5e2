#pragma once

#include "ContactCard.h"

#include <cstdint>
#include <span>

namespace zentrava {

// An I2C serial EEPROM card, AT24C01 to AT24C64. Sequential reads run on through the memory;
// a page write stores its bytes in one write page of the chip, wrapping round to the page's
// start when they run past its end (the chip's own behaviour). The reader's AT24_write splits
// the caller's bytes at the write pages, so each page write stays within its page.
class At24Card : public ContactCard {
public:
    struct Chip {
        const char *name;
        int memory_bytes;
        int writePage_bytes;
    };
    // AT24C01 to AT24C64.
    static std::span<const Chip> chips();
    // "at24c01" ... "at24c64", any case; nullptr for another name.
    static const Chip *findChip(const std::string &name);

    // A new chip reads FF everywhere.
    static std::unique_ptr<At24Card> factoryNew(const Chip &chip);
    static std::unique_ptr<At24Card> fromJson(const Chip &chip, const nlohmann::ordered_json &card, const std::string &where);

    std::string typeName() const override { return m_chip.name; }
    nlohmann::ordered_json toJson() const override;
    std::vector<std::string> dumpLines() const override;
    std::unique_ptr<ContactCard> clone() const override;

    const Chip &chip() const { return m_chip; }
    const Bytes &memory() const { return m_memory; }

    // AT24_read and AT24_write: address and count within the memory, count 1 to 1024.
    int32_t read(int32_t address, int32_t count, uint8_t *data) const;
    int32_t write(int32_t address, int32_t count, const uint8_t *data);
    // One page-write command of the chip: at most a write page of bytes from `address` on,
    // wrapping inside the page that holds `address`.
    void pageWrite(int address, const uint8_t *data, int count);

private:
    explicit At24Card(const Chip &chip);

    Chip m_chip;
    Bytes m_memory;
};

} // namespace zentrava
