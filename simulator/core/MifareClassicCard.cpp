#include "MifareClassicCard.h"

#include "JsonFields.h"
#include "MifareValueBlock.h"
#include "StatusCode.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <limits>

namespace zentrava {

namespace {

constexpr uint8_t FactoryTrailer[16] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x07,
                                        0x80, 0x69, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
// Manufacturer data after serial number, check byte, SAK and ATQA in block 0.
constexpr uint8_t ManufacturerData[8] = {0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69};

int blockCountOf(MifareClassicCard::Capacity capacity)
{
    return capacity == MifareClassicCard::Capacity::OneK ? 64 : 256;
}

} // namespace

MifareClassicCard::MifareClassicCard(Capacity capacity, Bytes memory)
    : BlockMemoryCard(blockCountOf(capacity), 16, std::move(memory)), m_capacity(capacity)
{
}

std::unique_ptr<MifareClassicCard> MifareClassicCard::factoryNew(Capacity capacity, const Bytes &uid)
{
    Bytes memory(static_cast<std::size_t>(blockCountOf(capacity) * 16), 0);
    std::copy(uid.begin(), uid.begin() + 4, memory.begin());
    memory[4] = static_cast<uint8_t>(uid[0] ^ uid[1] ^ uid[2] ^ uid[3]);
    auto card = std::unique_ptr<MifareClassicCard>(new MifareClassicCard(capacity, std::move(memory)));
    uint8_t *block0 = card->blockData(0);
    block0[5] = card->sak();
    block0[6] = card->tagType()[0];
    block0[7] = card->tagType()[1];
    std::copy(std::begin(ManufacturerData), std::end(ManufacturerData), block0 + 8);
    for (int sector = 0; sector < card->sectorCount(); ++sector)
        std::copy(std::begin(FactoryTrailer), std::end(FactoryTrailer),
                  card->blockData(trailerOfSector(sector)));
    return card;
}

std::unique_ptr<MifareClassicCard> MifareClassicCard::fromJson(Capacity capacity, const nlohmann::ordered_json &card,
                                                               const std::string &where)
{
    using namespace jsonfields;
    auto result = fromJsonWithSerial<MifareClassicCard>(card, where, {4, 1},
                                                        [capacity](const Bytes &uid) { return factoryNew(capacity, uid); });
    if (const auto *keys = member(card, "SectorKeys")) {
        requireObject(*keys, where + ".SectorKeys");
        for (const auto &[key, entry] : keys->items()) {
            const std::string place = where + ".SectorKeys." + key;
            const int sector = indexKey(key, where + ".SectorKeys", result->sectorCount() - 1);
            requireObject(entry, place);
            // The trailer holds key A, the access bits and key B.
            const int trailer = trailerOfSector(sector);
            result->partFromJson(entry, "KeyA", place, card, trailer, 0, 6);
            result->partFromJson(entry, "AccessConditions", place, card, trailer, 6, 4);
            result->partFromJson(entry, "KeyB", place, card, trailer, 10, 6);
        }
    }
    return result;
}

std::string MifareClassicCard::typeName() const
{
    return m_capacity == Capacity::OneK ? "mifare-1k" : "mifare-4k";
}

Bytes MifareClassicCard::uid() const
{
    return Bytes(blockData(0), blockData(0) + 4);
}

std::array<uint8_t, 2> MifareClassicCard::tagType() const
{
    if (m_capacity == Capacity::OneK)
        return {0x04, 0x00};
    return {0x02, 0x00};
}

nlohmann::ordered_json MifareClassicCard::toJson() const
{
    nlohmann::ordered_json card;
    card["type"] = typeName();
    card["Card"] = {{"UID", toHex(uid())},
                    {"ATQA", toHex(Bytes{tagType()[0], tagType()[1]})},
                    {"SAK", toHex(Bytes{sak()})}};
    card["blocks"] = blocksToJson();
    nlohmann::ordered_json keys = nlohmann::ordered_json::object();
    for (int sector = 0; sector < sectorCount(); ++sector) {
        const uint8_t *trailer = blockData(trailerOfSector(sector));
        keys[std::to_string(sector)] = {{"KeyA", toHex(trailer, 6)},
                                        {"KeyB", toHex(trailer + 10, 6)},
                                        {"AccessConditions", toHex(trailer + 6, 4)}};
    }
    card["SectorKeys"] = keys;
    return card;
}

std::unique_ptr<VirtualCard> MifareClassicCard::clone() const
{
    return std::unique_ptr<VirtualCard>(new MifareClassicCard(*this));
}

int MifareClassicCard::accessGroupOfBlock(int block)
{
    if (block < 128)
        return block % 4;
    const int offset = (block - 128) % 16;
    return offset == 15 ? 3 : offset / 5;
}

int32_t MifareClassicCard::authenticate(uint8_t mode, uint8_t block, const uint8_t *key)
{
    if (mode != AuthKeyA && mode != AuthKeyB)
        return status::WrongParameter;
    if (block >= blockCount())
        return refuse(status::WrongParameter);
    const int sector = sectorOfBlock(block);
    const bool keyB = mode == AuthKeyB;
    const uint8_t *stored = blockData(trailerOfSector(sector)) + (keyB ? 10 : 0);
    if (!std::equal(key, key + 6, stored))
        return refuse(status::AuthFailed);
    m_authSector = sector;
    m_authKeyB = keyB;
    return status::Ok;
}

int32_t MifareClassicCard::checkAuthenticated(int block, std::optional<MifareAccessConditions> &conditions)
{
    if (block >= blockCount())
        return refuse(status::WrongParameter);
    const int sector = sectorOfBlock(block);
    if (m_authSector != sector)
        return refuse(status::NotAuthenticated);
    conditions = MifareAccessConditions::decode(blockData(trailerOfSector(sector)) + 6);
    if (!conditions)
        return refuse(status::AccessDenied);
    return status::Ok;
}

int32_t MifareClassicCard::read(uint8_t block, uint8_t *data)
{
    std::optional<MifareAccessConditions> conditions;
    if (const int32_t result = checkAuthenticated(block, conditions))
        return result;
    using Part = MifareAccessConditions::TrailerPart;
    if (isTrailer(block)) {
        if (!conditions->allowsTrailerRead(Part::AccessBits, m_authKeyB))
            return refuse(status::AccessDenied);
        const uint8_t *trailer = blockData(block);
        std::fill(data, data + 16, uint8_t{0});
        std::copy(trailer + 6, trailer + 10, data + 6);
        if (conditions->allowsTrailerRead(Part::KeyB, m_authKeyB))
            std::copy(trailer + 10, trailer + 16, data + 10);
        return status::Ok;
    }
    if (!conditions->allowsData(accessGroupOfBlock(block), MifareAccessConditions::DataOperation::Read, m_authKeyB))
        return refuse(status::AccessDenied);
    std::copy(blockData(block), blockData(block) + 16, data);
    return status::Ok;
}

int32_t MifareClassicCard::write(uint8_t block, const uint8_t *data)
{
    std::optional<MifareAccessConditions> conditions;
    if (const int32_t result = checkAuthenticated(block, conditions))
        return result;
    if (block == 0)
        return refuse(status::AccessDenied);
    if (!isTrailer(block)) {
        if (!conditions->allowsData(accessGroupOfBlock(block), MifareAccessConditions::DataOperation::Write, m_authKeyB))
            return refuse(status::AccessDenied);
        writeBlock(block, data);
        return status::Ok;
    }
    // Each part of the trailer is written only where the conditions allow it; the others keep
    // their bytes. Byte 9 (free for the user) goes with the access bits.
    using Part = MifareAccessConditions::TrailerPart;
    const struct {
        Part part;
        int offset;
        int size;
    } parts[] = {{Part::KeyA, 0, 6}, {Part::AccessBits, 6, 4}, {Part::KeyB, 10, 6}};
    uint8_t updated[16];
    std::copy(blockData(block), blockData(block) + 16, updated);
    bool anyAllowed = false;
    for (const auto &part : parts) {
        if (conditions->allowsTrailerWrite(part.part, m_authKeyB)) {
            std::copy(data + part.offset, data + part.offset + part.size, updated + part.offset);
            anyAllowed = true;
        }
    }
    if (!anyAllowed)
        return refuse(status::AccessDenied);
    writeBlock(block, updated);
    return status::Ok;
}

int32_t MifareClassicCard::initValue(uint8_t block, int32_t value)
{
    std::optional<MifareAccessConditions> conditions;
    if (const int32_t result = checkAuthenticated(block, conditions))
        return result;
    if (block == 0 || isTrailer(block) ||
        !conditions->allowsData(accessGroupOfBlock(block), MifareAccessConditions::DataOperation::Write, m_authKeyB))
        return refuse(status::AccessDenied);
    writeBlock(block, MifareValueBlock::encode(value, block).data());
    return status::Ok;
}

int32_t MifareClassicCard::readValue(uint8_t block, int32_t *value)
{
    std::optional<MifareAccessConditions> conditions;
    if (const int32_t result = checkAuthenticated(block, conditions))
        return result;
    if (isTrailer(block) ||
        !conditions->allowsData(accessGroupOfBlock(block), MifareAccessConditions::DataOperation::Read, m_authKeyB))
        return refuse(status::AccessDenied);
    const auto decoded = MifareValueBlock::decode(blockData(block));
    if (!decoded)
        return refuse(status::NotValueBlock);
    *value = *decoded;
    return status::Ok;
}

int32_t MifareClassicCard::increment(uint8_t block, int32_t amount)
{
    return changeValue(block, amount, true);
}

int32_t MifareClassicCard::decrement(uint8_t block, int32_t amount)
{
    return changeValue(block, amount, false);
}

int32_t MifareClassicCard::changeValue(uint8_t block, int64_t amount, bool increase)
{
    using Operation = MifareAccessConditions::DataOperation;
    std::optional<MifareAccessConditions> conditions;
    if (const int32_t result = checkAuthenticated(block, conditions))
        return result;
    const int group = accessGroupOfBlock(block);
    // The result is transferred back into the same block, so the transfer right is needed too.
    const bool allowed = conditions->allowsData(group, Operation::DecrementTransferRestore, m_authKeyB) &&
                         (!increase || conditions->allowsData(group, Operation::Increment, m_authKeyB));
    if (block == 0 || isTrailer(block) || !allowed)
        return refuse(status::AccessDenied);
    const auto current = MifareValueBlock::decode(blockData(block));
    if (!current)
        return refuse(status::NotValueBlock);
    // A negative amount would turn a top-up into a payment; the purse refuses it.
    if (amount < 0)
        return refuse(status::WrongParameter);
    const int64_t result = increase ? int64_t{*current} + amount : int64_t{*current} - amount;
    if (result > std::numeric_limits<int32_t>::max() || result < std::numeric_limits<int32_t>::min())
        return refuse(status::ValueOverflow);
    writeBlock(block, MifareValueBlock::encode(static_cast<int32_t>(result),
                                               MifareValueBlock::address(blockData(block))).data());
    return status::Ok;
}

} // namespace zentrava
