#include "UltralightCard.h"

#include "StatusCode.h"

#include <nlohmann/json.hpp>

namespace zentrava {

namespace {

constexpr int PageCount = 16;
// Page 2 byte 2: bit 0 freezes the lock bit of page 3, bit 1 those of pages 4 to 9, bit 2 those
// of pages 10 to 15; bit 3 locks page 3, bits 4 to 7 lock pages 4 to 7. Byte 3 locks pages 8 to 15.
constexpr uint8_t FreezeOtpLock = 0x01;
constexpr uint8_t FreezeLocks4To9 = 0x02;
constexpr uint8_t FreezeLocks10To15 = 0x04;

} // namespace

UltralightCard::UltralightCard(Bytes memory) : BlockMemoryCard(PageCount, 4, std::move(memory)) {}

std::unique_ptr<UltralightCard> UltralightCard::factoryNew(const Bytes &uid)
{
    Bytes memory(PageCount * 4, 0);
    memory[0] = uid[0];
    memory[1] = uid[1];
    memory[2] = uid[2];
    memory[3] = static_cast<uint8_t>(0x88 ^ uid[0] ^ uid[1] ^ uid[2]);
    for (int i = 0; i < 4; ++i)
        memory[static_cast<std::size_t>(4 + i)] = uid[static_cast<std::size_t>(3 + i)];
    memory[8] = static_cast<uint8_t>(uid[3] ^ uid[4] ^ uid[5] ^ uid[6]);
    memory[9] = 0x48;
    return std::unique_ptr<UltralightCard>(new UltralightCard(std::move(memory)));
}

std::unique_ptr<UltralightCard> UltralightCard::fromJson(const nlohmann::ordered_json &card, const std::string &where)
{
    return fromJsonWithSerial<UltralightCard>(card, where, {7, 2, "page"}, factoryNew);
}

Bytes UltralightCard::uid() const
{
    const Bytes &m = memory();
    return {m[0], m[1], m[2], m[4], m[5], m[6], m[7]};
}

nlohmann::ordered_json UltralightCard::toJson() const
{
    nlohmann::ordered_json card;
    card["type"] = typeName();
    card["Card"] = {{"UID", toHex(uid())}, {"ATQA", "4400"}, {"SAK", "00"}};
    card["blocks"] = blocksToJson();
    return card;
}

std::unique_ptr<VirtualCard> UltralightCard::clone() const
{
    return std::unique_ptr<VirtualCard>(new UltralightCard(*this));
}

bool UltralightCard::pageLocked(int page) const
{
    const uint8_t lock0 = memory()[10];
    const uint8_t lock1 = memory()[11];
    if (page == 3)
        return (lock0 & 0x08) != 0;
    if (page < 8)
        return (lock0 >> page & 1) != 0;
    return (lock1 >> (page - 8) & 1) != 0;
}

int32_t UltralightCard::read(uint8_t page, uint8_t *data)
{
    if (page >= PageCount)
        return refuse(status::WrongParameter);
    for (int i = 0; i < 4; ++i) {
        const uint8_t *source = blockData((page + i) % PageCount);
        std::copy(source, source + 4, data + 4 * i);
    }
    return status::Ok;
}

int32_t UltralightCard::write(uint8_t page, const uint8_t *data)
{
    if (page >= PageCount)
        return refuse(status::WrongParameter);
    if (page < 2)
        return refuse(status::AccessDenied);
    uint8_t updated[4];
    std::copy(blockData(page), blockData(page) + 4, updated);
    if (page == 2) {
        // Bytes 0 and 1 (check byte and internal byte) never change; lock bits are only ever
        // set, and not those that a block-locking bit has frozen.
        const uint8_t lock0 = updated[2];
        uint8_t frozen0 = 0, frozen1 = 0;
        if (lock0 & FreezeOtpLock)
            frozen0 |= 0x08;
        if (lock0 & FreezeLocks4To9) {
            frozen0 |= 0xF0;
            frozen1 |= 0x03;
        }
        if (lock0 & FreezeLocks10To15)
            frozen1 |= 0xFC;
        updated[2] = static_cast<uint8_t>(updated[2] | (data[2] & ~frozen0));
        updated[3] = static_cast<uint8_t>(updated[3] | (data[3] & ~frozen1));
    } else if (pageLocked(page)) {
        return refuse(status::AccessDenied);
    } else if (page == 3) {
        for (int i = 0; i < 4; ++i)
            updated[i] = static_cast<uint8_t>(updated[i] | data[i]);
    } else {
        std::copy(data, data + 4, updated);
    }
    writeBlock(page, updated);
    return status::Ok;
}

} // namespace zentrava
