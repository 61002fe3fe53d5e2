#include "Iso15693Tag.h"

#include "JsonFields.h"
#include "ScenarioError.h"
#include "StatusCode.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace zentrava {

namespace {

constexpr int BlockSize = 4;
// DSFID, AFI, memory size and IC reference follow the UID.
constexpr uint8_t InformationFlags = 0x0F;

int blockCountOf(Iso15693Tag::Kind kind)
{
    return kind == Iso15693Tag::Kind::IcodeSli ? 28 : 64;
}

uint8_t icReferenceOf(Iso15693Tag::Kind kind)
{
    return kind == Iso15693Tag::Kind::IcodeSli ? 0x01 : 0x00;
}

uint8_t byteMember(const nlohmann::ordered_json &card, const char *key, const std::string &where)
{
    const auto *value = jsonfields::member(card, key);
    return value ? jsonfields::hexValue(*value, where + "." + key, 1)[0] : 0;
}

bool flagMember(const nlohmann::ordered_json &card, const char *key, const std::string &where)
{
    const auto *value = jsonfields::member(card, key);
    return value && jsonfields::boolValue(*value, where + "." + key);
}

} // namespace

Iso15693Tag::Iso15693Tag(Kind kind, Bytes uid)
    : VicinityTag(blockCountOf(kind), BlockSize, std::move(uid)), m_kind(kind),
      m_lockedBlocks(static_cast<std::size_t>(blockCountOf(kind)), false)
{
}

std::unique_ptr<Iso15693Tag> Iso15693Tag::factoryNew(Kind kind, const Bytes &uid)
{
    return std::unique_ptr<Iso15693Tag>(new Iso15693Tag(kind, uid));
}

std::unique_ptr<Iso15693Tag> Iso15693Tag::fromJson(Kind kind, const nlohmann::ordered_json &card, const std::string &where)
{
    using namespace jsonfields;
    auto result = factoryNew(kind, requiredUid(card, where, UidBytes));
    if (const auto *blocks = member(card, "blocks"))
        result->blocksFromJson(*blocks, where + ".blocks");
    result->m_dsfid = byteMember(card, "DSFID", where);
    result->m_afi = byteMember(card, "AFI", where);
    result->m_dsfidLocked = flagMember(card, "DSFIDLocked", where);
    result->m_afiLocked = flagMember(card, "AFILocked", where);
    if (const auto *locked = member(card, "LockedBlocks")) {
        const auto &list = requireArray(*locked, where + ".LockedBlocks");
        for (std::size_t i = 0; i < list.size(); ++i) {
            const auto block = integerValue(list[i], where + ".LockedBlocks[" + std::to_string(i) + "]", 0,
                                            result->blockCount() - 1);
            result->m_lockedBlocks[static_cast<std::size_t>(block)] = true;
        }
    }
    result->takeMemoryChanged();
    return result;
}

std::string Iso15693Tag::typeName() const
{
    return m_kind == Kind::IcodeSli ? "icode-sli" : "tag-it";
}

nlohmann::ordered_json Iso15693Tag::toJson() const
{
    nlohmann::ordered_json card;
    card["type"] = typeName();
    card["Card"] = {{"UID", toHex(uid())}};
    card["DSFID"] = toHex(&m_dsfid, 1);
    card["AFI"] = toHex(&m_afi, 1);
    card["DSFIDLocked"] = m_dsfidLocked;
    card["AFILocked"] = m_afiLocked;
    nlohmann::ordered_json locked = nlohmann::ordered_json::array();
    for (int block = 0; block < blockCount(); ++block)
        if (blockLocked(block))
            locked.push_back(block);
    card["LockedBlocks"] = locked;
    card["blocks"] = blocksToJson();
    return card;
}

std::unique_ptr<VirtualCard> Iso15693Tag::clone() const
{
    return std::unique_ptr<VirtualCard>(new Iso15693Tag(*this));
}

Bytes Iso15693Tag::systemInformation() const
{
    Bytes answer{InformationFlags};
    const Bytes serial = uid();
    answer.insert(answer.end(), serial.begin(), serial.end());
    for (const uint8_t byte : {m_dsfid, m_afi, static_cast<uint8_t>(blockCount() - 1),
                               static_cast<uint8_t>(BlockSize - 1), icReferenceOf(m_kind)})
        answer.push_back(byte);
    return answer;
}

bool Iso15693Tag::rangeFits(int first, int count) const
{
    return count > 0 && first >= 0 && first + count <= blockCount();
}

int32_t Iso15693Tag::read(int first, int count, Bytes &data) const
{
    if (!rangeFits(first, count))
        return status::WrongParameter;
    data.assign(blockData(first), blockData(first) + count * BlockSize);
    return status::Ok;
}

int32_t Iso15693Tag::blockSecurity(int first, int count, Bytes &data) const
{
    if (!rangeFits(first, count))
        return status::WrongParameter;
    data.clear();
    for (int block = first; block < first + count; ++block)
        data.push_back(blockLocked(block) ? 1 : 0);
    return status::Ok;
}

int32_t Iso15693Tag::write(int block, const uint8_t *data)
{
    if (!rangeFits(block, 1))
        return status::WrongParameter;
    if (blockLocked(block))
        return status::AccessDenied;
    writeBlock(block, data);
    return status::Ok;
}

// A lock is for good: locking again is refused like the chip's "already locked".
int32_t Iso15693Tag::lockBlock(int block)
{
    if (!rangeFits(block, 1))
        return status::WrongParameter;
    if (blockLocked(block))
        return status::AccessDenied;
    m_lockedBlocks[static_cast<std::size_t>(block)] = true;
    markMemoryChanged();
    return status::Ok;
}

int32_t Iso15693Tag::writeAfi(uint8_t afi)
{
    if (m_afiLocked)
        return status::AccessDenied;
    m_afi = afi;
    markMemoryChanged();
    return status::Ok;
}

int32_t Iso15693Tag::lockAfi()
{
    if (m_afiLocked)
        return status::AccessDenied;
    m_afiLocked = true;
    markMemoryChanged();
    return status::Ok;
}

int32_t Iso15693Tag::writeDsfid(uint8_t dsfid)
{
    if (m_dsfidLocked)
        return status::AccessDenied;
    m_dsfid = dsfid;
    markMemoryChanged();
    return status::Ok;
}

int32_t Iso15693Tag::lockDsfid()
{
    if (m_dsfidLocked)
        return status::AccessDenied;
    m_dsfidLocked = true;
    markMemoryChanged();
    return status::Ok;
}

} // namespace zentrava
