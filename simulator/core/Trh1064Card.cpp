#include "Trh1064Card.h"

#include "JsonFields.h"
#include "StatusCode.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace zentrava {

namespace {

constexpr int BlockCount = 8;
constexpr int BlockSize = 8;
constexpr int KeyPage = 2;
constexpr int CounterPage = 3;
constexpr int KeyBlock = 6;
constexpr uint8_t FactoryKey[Trh1064Card::KeyBytes] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
constexpr uint8_t ProtocolBytes[4] = {0x00, 0x00, 0x70, 0x71};

constexpr uint8_t Page0Locked = 1u << 0;
constexpr uint8_t Page1Locked = 1u << 1;
constexpr uint8_t Page2LockedOrCounterFixed = 1u << 2;
constexpr uint8_t Page3Restricted = 1u << 3;
constexpr uint8_t Page2IsKey = 1u << 4;
constexpr uint8_t CounterDecrementOnly = 1u << 5;

} // namespace

Trh1064Card::Trh1064Card(Bytes uid, Bytes memory)
    : BlockMemoryCard(BlockCount, BlockSize, std::move(memory)), m_uid(std::move(uid))
{
}

std::unique_ptr<Trh1064Card> Trh1064Card::factoryNew(const Bytes &uid)
{
    // Configuration 00: every page free; the key page holds the factory key.
    Bytes memory(BlockCount * BlockSize, 0);
    std::copy(std::begin(FactoryKey), std::end(FactoryKey), memory.begin() + KeyBlock * BlockSize);
    return std::unique_ptr<Trh1064Card>(new Trh1064Card(uid, std::move(memory)));
}

std::unique_ptr<Trh1064Card> Trh1064Card::fromJson(const nlohmann::ordered_json &card, const std::string &where)
{
    using namespace jsonfields;
    auto result = factoryNew(requiredUid(card, where, 8));
    if (const auto *blocks = member(card, "blocks"))
        result->blocksFromJson(*blocks, where + ".blocks");
    result->partFromJson(card, "Key", where, card, KeyBlock, 0, KeyBytes);
    return result;
}

nlohmann::ordered_json Trh1064Card::toJson() const
{
    nlohmann::ordered_json card;
    card["type"] = typeName();
    card["Card"] = {{"UID", toHex(m_uid)}};
    card["Key"] = toHex(blockData(KeyBlock), KeyBytes);
    card["blocks"] = blocksToJson();
    return card;
}

std::unique_ptr<VirtualCard> Trh1064Card::clone() const
{
    return std::unique_ptr<VirtualCard>(new Trh1064Card(*this));
}

Bytes Trh1064Card::answerToRequest() const
{
    Bytes answer = m_uid;
    answer.insert(answer.end(), std::begin(ProtocolBytes), std::end(ProtocolBytes));
    return answer;
}

int32_t Trh1064Card::checkKey(const uint8_t *key)
{
    if (!std::equal(key, key + KeyBytes, pageData(KeyPage)))
        return refuse(status::AuthFailed);
    m_authenticated = true;
    return status::Ok;
}

int32_t Trh1064Card::readPage(uint8_t page, uint8_t *data)
{
    if (page >= PageCount)
        return refuse(status::WrongParameter);
    const uint8_t c = configuration();
    const bool keyed = (c & Page2IsKey) != 0;
    if (page == KeyPage && keyed)
        return refuse(status::AccessDenied);
    if (page == CounterPage && keyed && (c & Page3Restricted) && !m_authenticated)
        return refuse(status::NotAuthenticated);
    std::copy_n(pageData(page), pageSize(page), data);
    return status::Ok;
}

int32_t Trh1064Card::writePage(uint8_t page, const uint8_t *data, int count)
{
    if (page >= PageCount || count != pageSize(page))
        return refuse(status::WrongParameter);
    const uint8_t c = configuration();
    const bool keyed = (c & Page2IsKey) != 0;
    bool allowed = true;
    switch (page) {
    case 0:
        allowed = !(c & Page0Locked);
        break;
    case 1:
        allowed = !(c & Page1Locked);
        break;
    case KeyPage:
        allowed = !keyed && !(c & Page2LockedOrCounterFixed);
        break;
    default:
        if (!keyed) {
            allowed = !(c & Page3Restricted);
        } else if (c & Page2LockedOrCounterFixed) {
            allowed = false;
        } else if (!m_authenticated) {
            return refuse(status::NotAuthenticated);
        } else if (c & CounterDecrementOnly) {
            // The page is a counter sent most significant byte first: it may only go down.
            const uint8_t *current = pageData(page);
            allowed = !std::lexicographical_compare(current, current + BlockSize, data, data + BlockSize);
        }
        break;
    }
    if (!allowed)
        return refuse(status::AccessDenied);
    for (int block = firstBlock(page); block < firstBlock(page) + count / BlockSize; ++block)
        writeBlock(block, data + (block - firstBlock(page)) * BlockSize);
    return status::Ok;
}

} // namespace zentrava
