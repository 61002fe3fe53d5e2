#include "At88rf020Card.h"

#include "StatusCode.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace zentrava {

namespace {
constexpr int PupiBytes = 4;
constexpr int LockOffset = 4;
constexpr int LockBytes = 4;
constexpr int SignatureBytes = 6;
constexpr int At88rf020PasswordBytes = 8;
// Application data and protocol information of the answer to request B.
constexpr uint8_t ApplicationData[4] = {0x00, 0x00, 0x00, 0x00};
constexpr uint8_t ProtocolInfo[3] = {0x00, 0x71, 0x71};
} // namespace

At88rf020Card::At88rf020Card(Bytes memory) : BlockMemoryCard(PageCount, PageBytes, std::move(memory)) {}

std::unique_ptr<At88rf020Card> At88rf020Card::factoryNew(const Bytes &pupi)
{
    Bytes memory(PageCount * PageBytes, 0);
    std::copy(pupi.begin(), pupi.begin() + PupiBytes, memory.begin());
    return std::unique_ptr<At88rf020Card>(new At88rf020Card(std::move(memory)));
}

std::unique_ptr<At88rf020Card> At88rf020Card::fromJson(const nlohmann::ordered_json &card, const std::string &where)
{
    auto result = fromJsonWithSerial<At88rf020Card>(card, where, {PupiBytes, 1, "page", "a PUPI"}, factoryNew);
    result->partFromJson(card, "Password", where, card, PasswordPage, 0, At88rf020PasswordBytes, "page");
    return result;
}

nlohmann::ordered_json At88rf020Card::toJson() const
{
    nlohmann::ordered_json card;
    card["type"] = typeName();
    card["Card"] = {{"UID", toHex(uid())}};
    card["Password"] = toHex(blockData(PasswordPage), At88rf020PasswordBytes);
    card["blocks"] = blocksToJson();
    return card;
}

std::unique_ptr<VirtualCard> At88rf020Card::clone() const
{
    return std::unique_ptr<VirtualCard>(new At88rf020Card(*this));
}

Bytes At88rf020Card::answerToRequest() const
{
    Bytes answer{0x50};
    const Bytes pupi = uid();
    answer.insert(answer.end(), pupi.begin(), pupi.end());
    answer.insert(answer.end(), std::begin(ApplicationData), std::end(ApplicationData));
    answer.insert(answer.end(), std::begin(ProtocolInfo), std::end(ProtocolInfo));
    return answer;
}

bool At88rf020Card::pageLocked(int page) const
{
    return (blockData(0)[LockOffset + page / 8] >> (page % 8)) & 1;
}

int32_t At88rf020Card::check(const uint8_t *password)
{
    if (!std::equal(password, password + At88rf020PasswordBytes, blockData(PasswordPage)))
        return refuse(status::AuthFailed);
    m_checked = true;
    return status::Ok;
}

int32_t At88rf020Card::read(uint8_t page, uint8_t *data)
{
    if (page >= PageCount)
        return refuse(status::WrongParameter);
    if (page == PasswordPage)
        return refuse(status::AccessDenied);
    std::copy(blockData(page), blockData(page) + PageBytes, data);
    return status::Ok;
}

int32_t At88rf020Card::write(uint8_t page, const uint8_t *data)
{
    if (page >= PageCount)
        return refuse(status::WrongParameter);
    if (!m_checked)
        return refuse(status::NotAuthenticated);
    // The PUPI and lock bytes change only through the lock, the counter only through the count.
    if (page == 0 || page == CounterPage || pageLocked(page))
        return refuse(status::AccessDenied);
    writeBlock(page, data);
    return status::Ok;
}

int32_t At88rf020Card::lock(const uint8_t *lockBytes)
{
    if (!m_checked)
        return refuse(status::NotAuthenticated);
    Bytes page0 = block(0);
    for (int i = 0; i < LockBytes; ++i)
        page0[static_cast<std::size_t>(LockOffset + i)] |= lockBytes[i];
    writeBlock(0, page0.data());
    return status::Ok;
}

int32_t At88rf020Card::count(const uint8_t *signature)
{
    Bytes page2 = block(CounterPage);
    const int counter = page2[6] << 8 | page2[7];
    if (pageLocked(CounterPage) || counter == 0xFFFF)
        return refuse(status::AccessDenied);
    std::copy(signature, signature + SignatureBytes, page2.begin());
    page2[6] = static_cast<uint8_t>((counter + 1) >> 8);
    page2[7] = static_cast<uint8_t>(counter + 1);
    writeBlock(CounterPage, page2.data());
    return status::Ok;
}

} // namespace zentrava
