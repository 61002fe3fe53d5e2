#include "Srix4kCard.h"

#include "JsonFields.h"
#include "StatusCode.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace zentrava {

namespace {
constexpr int Srix4kUidBytes = 8;
constexpr int FirstCounterBlock = 5;
constexpr int LastCounterBlock = 6;
constexpr int FirstLockableBlock = 7;
constexpr int LastLockableBlock = 15;

uint32_t counterValue(const uint8_t *block)
{
    return uint32_t(block[0]) | uint32_t(block[1]) << 8 | uint32_t(block[2]) << 16 | uint32_t(block[3]) << 24;
}
} // namespace

Srix4kCard::Srix4kCard(Bytes uid, Bytes memory)
    : StTag(BlockCount, BlockBytes, std::move(memory)), m_uid(std::move(uid))
{
    // The chip ID comes from the UID's last byte.
    m_chipId = m_uid[Srix4kUidBytes - 1];
}

std::unique_ptr<Srix4kCard> Srix4kCard::factoryNew(const Bytes &uid)
{
    // A new tag has every one-time bit and both counters at their highest.
    Bytes memory(BlockCount * BlockBytes, 0);
    std::fill(memory.begin(), memory.begin() + (LastCounterBlock + 1) * BlockBytes, 0xFF);
    return std::unique_ptr<Srix4kCard>(new Srix4kCard(Bytes(uid.begin(), uid.begin() + Srix4kUidBytes), std::move(memory)));
}

std::unique_ptr<Srix4kCard> Srix4kCard::fromJson(const nlohmann::ordered_json &card, const std::string &where)
{
    using namespace jsonfields;
    auto result = factoryNew(requiredUid(card, where, Srix4kUidBytes));
    if (const auto *chipId = member(card, "ChipID"))
        result->m_chipId = hexValue(*chipId, where + ".ChipID", 1)[0];
    if (const auto *lockRegister = member(card, "LockRegister"))
        result->m_lockRegister = hexValue(*lockRegister, where + ".LockRegister", 1)[0];
    if (const auto *blocks = member(card, "blocks"))
        result->blocksFromJson(*blocks, where + ".blocks");
    return result;
}

nlohmann::ordered_json Srix4kCard::toJson() const
{
    nlohmann::ordered_json card;
    card["type"] = typeName();
    card["Card"] = {{"UID", toHex(m_uid)}};
    card["ChipID"] = toHex(&m_chipId, 1);
    card["LockRegister"] = toHex(&m_lockRegister, 1);
    card["blocks"] = blocksToJson();
    return card;
}

std::unique_ptr<VirtualCard> Srix4kCard::clone() const
{
    return std::unique_ptr<VirtualCard>(new Srix4kCard(*this));
}

bool Srix4kCard::blockLocked(int block) const
{
    if (block < FirstLockableBlock || block > LastLockableBlock)
        return false;
    const int bit = block <= FirstLockableBlock + 1 ? 0 : block - (FirstLockableBlock + 1);
    return (m_lockRegister >> bit) & 1;
}

int32_t Srix4kCard::read(uint8_t block, uint8_t *data)
{
    if (block >= BlockCount)
        return refuse(status::WrongParameter);
    std::copy(blockData(block), blockData(block) + BlockBytes, data);
    return status::Ok;
}

int32_t Srix4kCard::write(uint8_t block, const uint8_t *data)
{
    if (block >= BlockCount)
        return refuse(status::WrongParameter);
    if (blockLocked(block))
        return refuse(status::AccessDenied);
    if (block >= FirstCounterBlock && block <= LastCounterBlock) {
        if (counterValue(data) > counterValue(blockData(block)))
            return refuse(status::AccessDenied);
        writeBlock(block, data);
        return status::Ok;
    }
    if (block < FirstCounterBlock) {
        uint8_t cleared[BlockBytes];
        for (int i = 0; i < BlockBytes; ++i)
            cleared[i] = blockData(block)[i] & data[i];
        writeBlock(block, cleared);
        return status::Ok;
    }
    writeBlock(block, data);
    return status::Ok;
}

int32_t Srix4kCard::writeLockRegister(uint8_t lockBits)
{
    const uint8_t locked = m_lockRegister | lockBits;
    if (locked != m_lockRegister) {
        m_lockRegister = locked;
        markMemoryChanged();
    }
    return status::Ok;
}

} // namespace zentrava
