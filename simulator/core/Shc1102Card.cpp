#include "Shc1102Card.h"

#include "StatusCode.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace zentrava {

namespace {
constexpr int BlockCount = 16;
constexpr uint8_t FactoryPassword[4] = {0xFF, 0xFF, 0xFF, 0xFF};
} // namespace

Shc1102Card::Shc1102Card(Bytes memory) : BlockMemoryCard(BlockCount, 4, std::move(memory)) {}

std::unique_ptr<Shc1102Card> Shc1102Card::factoryNew(const Bytes &uid)
{
    Bytes memory(BlockCount * 4, 0);
    std::copy(uid.begin(), uid.begin() + 8, memory.begin());
    std::copy(std::begin(FactoryPassword), std::end(FactoryPassword), memory.begin() + PasswordBlock * 4);
    return std::unique_ptr<Shc1102Card>(new Shc1102Card(std::move(memory)));
}

std::unique_ptr<Shc1102Card> Shc1102Card::fromJson(const nlohmann::ordered_json &card, const std::string &where)
{
    auto result = fromJsonWithSerial<Shc1102Card>(card, where, {8, 2}, factoryNew);
    result->partFromJson(card, "Password", where, card, PasswordBlock, 0, 4);
    return result;
}

nlohmann::ordered_json Shc1102Card::toJson() const
{
    nlohmann::ordered_json card;
    card["type"] = typeName();
    card["Card"] = {{"UID", toHex(uid())}};
    card["Password"] = toHex(blockData(PasswordBlock), 4);
    card["blocks"] = blocksToJson();
    return card;
}

std::unique_ptr<VirtualCard> Shc1102Card::clone() const
{
    return std::unique_ptr<VirtualCard>(new Shc1102Card(*this));
}

int32_t Shc1102Card::authenticate(const uint8_t *password)
{
    if (!std::equal(password, password + 4, blockData(PasswordBlock)))
        return refuse(status::AuthFailed);
    m_authenticated = true;
    return status::Ok;
}

int32_t Shc1102Card::read(uint8_t block, uint8_t *data)
{
    if (block >= BlockCount)
        return refuse(status::WrongParameter);
    if (block >= PasswordBlock && !m_authenticated)
        return refuse(status::NotAuthenticated);
    std::copy(blockData(block), blockData(block) + 4, data);
    return status::Ok;
}

int32_t Shc1102Card::write(uint8_t block, const uint8_t *data)
{
    if (block >= BlockCount)
        return refuse(status::WrongParameter);
    if (!m_authenticated)
        return refuse(status::NotAuthenticated);
    if (block < 2)
        return refuse(status::AccessDenied);
    writeBlock(block, data);
    return status::Ok;
}

} // namespace zentrava
