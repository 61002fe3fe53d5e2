#include "PcscAnswers.h"

#include "PcscStatus.h"

#include <algorithm>

namespace pcsc {

namespace {

// A header followed by bytes; room for both is made first (which also keeps GCC's bounds
// analysis from losing its way in the vector's growth).
Bytes joined(std::initializer_list<uint8_t> head, std::span<const uint8_t> tail)
{
    Bytes bytes;
    bytes.reserve(head.size() + tail.size());
    bytes.insert(bytes.end(), head.begin(), head.end());
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

} // namespace

std::optional<Response> SplitResponse(std::span<const uint8_t> answer)
{
    if (answer.size() < 2)
        return std::nullopt;
    const std::size_t dataBytes = answer.size() - 2;
    return Response{answer.first(dataBytes), uint16_t(answer[dataBytes] << 8 | answer[dataBytes + 1])};
}

int32_t ClassFfOutcome(std::span<const uint8_t> answer, std::span<const uint8_t> *data)
{
    const std::optional<Response> response = SplitResponse(answer);
    // 00 00 is no status word at all, and as a status it would read as success.
    if (!response || response->statusWord == 0x0000)
        return pcscstatus::NoStatusWord;
    if (response->statusWord != 0x9000)
        return response->statusWord;
    if (data != nullptr)
        *data = response->data;
    return pcscstatus::Ok;
}

int32_t ApduOutcome(std::span<const uint8_t> answer)
{
    if (answer.size() < 2)
        return pcscstatus::NoStatusWord;
    if (answer.size() > MaxAnswerBytes)
        return pcscstatus::AnswerTooLong;
    return pcscstatus::Ok;
}

namespace command {

Bytes GetUid() { return {ClassFf, instruction::GetData, 0x00, 0x00, 0x00}; }

Bytes LoadKey(uint8_t keySlot, std::span<const uint8_t, 6> key)
{
    // P1 00: a card key, sent plain, kept in the reader's volatile memory.
    return joined({ClassFf, instruction::LoadKeys, 0x00, keySlot, 0x06}, key);
}

Bytes Authenticate(uint8_t block, uint8_t keyType, uint8_t keySlot)
{
    return {ClassFf, instruction::GeneralAuthenticate, 0x00, 0x00, 0x05, 0x01, 0x00, block, keyType, keySlot};
}

Bytes ReadBinary(uint8_t block, uint8_t length) { return {ClassFf, instruction::ReadBinary, 0x00, block, length}; }

Bytes UpdateBinary(uint8_t block, std::span<const uint8_t> data)
{
    return joined({ClassFf, instruction::UpdateBinary, 0x00, block, uint8_t(data.size())}, data);
}

Bytes ChangeValue(ValueOperation operation, uint8_t block, int32_t amount)
{
    const auto bits = uint32_t(amount);
    return {ClassFf, instruction::Envelope, 0x00, 0x03, 0x0B, uint8_t(operation), 0x09, 0x80, 0x01, block, 0x81, 0x04,
            uint8_t(bits), uint8_t(bits >> 8), uint8_t(bits >> 16), uint8_t(bits >> 24)};
}

std::optional<ValueChange> ParseChangeValue(std::span<const uint8_t> apdu)
{
    constexpr std::size_t Length = 16;
    if (apdu.size() != Length || apdu[0] != ClassFf || apdu[1] != instruction::Envelope || apdu[2] != 0x00
        || apdu[3] != 0x03 || apdu[4] != 0x0B || (apdu[5] != uint8_t(ValueOperation::Increment)
                                                   && apdu[5] != uint8_t(ValueOperation::Decrement))
        || apdu[6] != 0x09 || apdu[7] != 0x80 || apdu[8] != 0x01 || apdu[10] != 0x81 || apdu[11] != 0x04)
        return std::nullopt;
    const uint32_t bits = uint32_t(apdu[12]) | uint32_t(apdu[13]) << 8 | uint32_t(apdu[14]) << 16
        | uint32_t(apdu[15]) << 24;
    return ValueChange{ValueOperation(apdu[5]), apdu[9], int32_t(bits)};
}

} // namespace command

bool MeansCommandUnknown(uint16_t statusWord)
{
    // Function, instruction or class not supported.
    return statusWord == statusword::FunctionNotSupported || statusWord == 0x6D00 || statusWord == statusword::ClassNotSupported
        || statusWord == 0x6800;
}

std::optional<AtrFacts> ParseAtr(std::span<const uint8_t> atr)
{
    constexpr std::size_t MaxAtrBytes = 33;
    if (atr.size() < 2 || atr.size() > MaxAtrBytes)
        return std::nullopt;
    std::size_t position = 1;
    uint8_t format = atr[position++];
    const std::size_t historicalCount = format & 0x0F;
    // Each format byte announces TA, TB, TC and TD by its high bits; TD carries the next one.
    for (;;) {
        const int interfaceBytes = ((format & 0x10) != 0) + ((format & 0x20) != 0) + ((format & 0x40) != 0);
        const bool next = (format & 0x80) != 0;
        if (position + std::size_t(interfaceBytes) + (next ? 1 : 0) > atr.size())
            return std::nullopt;
        position += std::size_t(interfaceBytes);
        if (!next)
            break;
        format = atr[position++];
    }
    if (position + historicalCount > atr.size())
        return std::nullopt;
    AtrFacts facts;
    facts.historical.assign(atr.begin() + std::ptrdiff_t(position),
                            atr.begin() + std::ptrdiff_t(position + historicalCount));
    // A storage card's ATR as the reader builds it: category 80, the application identifier
    // (tag 4F) of the PC/SC registered identifier A0 00 00 03 06, the standard and the card name.
    const Bytes &h = facts.historical;
    static constexpr uint8_t Rid[] = {0xA0, 0x00, 0x00, 0x03, 0x06};
    if (h.size() >= 11 && h[0] == 0x80 && h[1] == 0x4F && h[2] >= 8 && std::equal(h.begin() + 3, h.begin() + 8, Rid)) {
        facts.kind = AtrFacts::Kind::StorageCard;
        facts.standard = h[8];
        facts.cardName = uint16_t(h[9] << 8 | h[10]);
    }
    return facts;
}

Bytes ContactlessAtr(std::span<const uint8_t> historical)
{
    const std::size_t count = std::min<std::size_t>(historical.size(), 15);
    // T0 8n: TD1 follows; TD1 80: TD2 follows, T=0; TD2 01: T=1.
    Bytes atr = joined({0x3B, uint8_t(0x80 | count), 0x80, 0x01}, historical.first(count));
    uint8_t check = 0;
    for (std::size_t i = 1; i < atr.size(); ++i)
        check ^= atr[i];
    atr.push_back(check);
    return atr;
}

Bytes StorageCardAtr(uint8_t standard, uint16_t cardName)
{
    const uint8_t historical[] = {0x80, 0x4F, 0x0C, 0xA0, 0x00, 0x00, 0x03, 0x06, standard,
                                  uint8_t(cardName >> 8), uint8_t(cardName), 0x00, 0x00, 0x00, 0x00};
    return ContactlessAtr(historical);
}

TypeAIdentity IdentityOf(const AtrFacts &atr)
{
    if (atr.kind == AtrFacts::Kind::ProcessorCard)
        return {{0x00, 0x00}, 0x20};
    switch (atr.cardName) {
    case CardMifare1k: return {{0x04, 0x00}, 0x08};
    case CardMifare4k: return {{0x02, 0x00}, 0x18};
    case CardUltralight: return {{0x44, 0x00}, 0x00};
    case CardMifareMini: return {{0x04, 0x00}, 0x09};
    default: return {{0x00, 0x00}, 0x00};
    }
}

Bytes TypeAActivation(std::span<const uint8_t> uid, const AtrFacts &atr)
{
    Bytes answer(uid.begin(), uid.end());
    if (atr.kind == AtrFacts::Kind::StorageCard)
        return answer;
    const std::size_t historical = std::min(atr.historical.size(), MaxAnswerBytes - 2 - uid.size());
    answer.push_back(uint8_t(2 + historical));
    answer.push_back(0x02);
    answer.insert(answer.end(), atr.historical.begin(), atr.historical.begin() + std::ptrdiff_t(historical));
    return answer;
}

std::optional<Bytes> AnswerToRequestB(std::span<const uint8_t> pupi, const AtrFacts &atr)
{
    if (pupi.size() != 4 || atr.kind != AtrFacts::Kind::ProcessorCard || atr.historical.size() < 7)
        return std::nullopt;
    Bytes answer = joined({0x50}, pupi);
    answer.insert(answer.end(), atr.historical.begin(), atr.historical.begin() + 7);
    return answer;
}

Bytes EncodeValueBlock(int32_t value, uint8_t address)
{
    const auto bits = uint32_t(value);
    Bytes block;
    for (const uint32_t word : {bits, ~bits, bits})
        for (int shift = 0; shift < 32; shift += 8)
            block.push_back(uint8_t(word >> shift));
    for (const uint8_t byte : {address, uint8_t(~address), address, uint8_t(~address)})
        block.push_back(byte);
    return block;
}

std::optional<int32_t> DecodeValueBlock(std::span<const uint8_t> block)
{
    if (block.size() != 16)
        return std::nullopt;
    const auto word = [&](std::size_t at) {
        return uint32_t(block[at]) | uint32_t(block[at + 1]) << 8 | uint32_t(block[at + 2]) << 16
            | uint32_t(block[at + 3]) << 24;
    };
    const uint32_t value = word(0);
    if (word(4) != ~value || word(8) != value)
        return std::nullopt;
    if (block[12] != block[14] || block[13] != block[15] || uint8_t(~block[12]) != block[13])
        return std::nullopt;
    return int32_t(value);
}

Bytes Iso15693UidAsShown(std::span<const uint8_t> uid)
{
    Bytes shown(uid.begin(), uid.end());
    if (shown.size() == 8 && shown.front() != 0xE0 && shown.back() == 0xE0)
        std::reverse(shown.begin(), shown.end());
    return shown;
}

} // namespace pcsc
