#include "MifareAccessConditions.h"

namespace zentrava {

namespace {

// Which keys may do something: bit 0 key A, bit 1 key B.
constexpr uint8_t Never = 0, A = 1, B = 2, AB = 3;

// Data blocks, indexed by C1C2C3: read, write, increment, decrement/transfer/restore.
constexpr uint8_t DataTable[8][4] = {
    {AB, AB, AB, AB},          // 000 transport configuration
    {AB, Never, Never, AB},    // 001 value block, decrement only
    {AB, Never, Never, Never}, // 010 read only
    {B, B, Never, Never},      // 011
    {AB, B, Never, Never},     // 100
    {B, Never, Never, Never},  // 101
    {AB, B, B, AB},            // 110 value block
    {Never, Never, Never, Never},
};

// Trailer, indexed by C1C2C3: write key A, read access bits, write access bits, read key B,
// write key B. Key A itself is never readable.
constexpr uint8_t TrailerTable[8][5] = {
    {A, A, Never, A, A},              // 000
    {A, A, A, A, A},                  // 001 transport configuration
    {Never, A, Never, A, Never},      // 010
    {B, AB, B, Never, B},             // 011
    {B, AB, Never, Never, B},         // 100
    {Never, AB, B, Never, Never},     // 101
    {Never, AB, Never, Never, Never}, // 110
    {Never, AB, Never, Never, Never}, // 111
};

} // namespace

std::optional<MifareAccessConditions> MifareAccessConditions::decode(const uint8_t *accessBytes)
{
    const uint8_t c1 = accessBytes[1] >> 4;
    const uint8_t c2 = accessBytes[2] & 0x0F;
    const uint8_t c3 = accessBytes[2] >> 4;
    const bool consistent = (accessBytes[0] & 0x0F) == (~c1 & 0x0F) &&
                            (accessBytes[0] >> 4) == (~c2 & 0x0F) &&
                            (accessBytes[1] & 0x0F) == (~c3 & 0x0F);
    if (!consistent)
        return std::nullopt;
    std::array<uint8_t, 4> groups{};
    for (int g = 0; g < 4; ++g)
        groups[static_cast<std::size_t>(g)] =
            static_cast<uint8_t>(((c1 >> g) & 1) << 2 | ((c2 >> g) & 1) << 1 | ((c3 >> g) & 1));
    return MifareAccessConditions(groups);
}

std::array<uint8_t, 3> MifareAccessConditions::encode(const std::array<uint8_t, 4> &groups)
{
    uint8_t c1 = 0, c2 = 0, c3 = 0;
    for (int g = 0; g < 4; ++g) {
        const uint8_t bits = groups[static_cast<std::size_t>(g)];
        c1 = static_cast<uint8_t>(c1 | ((bits >> 2) & 1) << g);
        c2 = static_cast<uint8_t>(c2 | ((bits >> 1) & 1) << g);
        c3 = static_cast<uint8_t>(c3 | (bits & 1) << g);
    }
    return {static_cast<uint8_t>((~c2 & 0x0F) << 4 | (~c1 & 0x0F)),
            static_cast<uint8_t>(c1 << 4 | (~c3 & 0x0F)), static_cast<uint8_t>(c3 << 4 | c2)};
}

bool MifareAccessConditions::keyBReadable() const
{
    return TrailerTable[m_groups[3]][3] != Never;
}

bool MifareAccessConditions::permits(uint8_t keys, bool keyB) const
{
    if (keyB && keyBReadable())
        return false;
    return (keys & (keyB ? B : A)) != 0;
}

bool MifareAccessConditions::allowsData(int group, DataOperation operation, bool keyB) const
{
    return permits(DataTable[m_groups[static_cast<std::size_t>(group)]][static_cast<int>(operation)],
                   keyB);
}

bool MifareAccessConditions::allowsTrailerRead(TrailerPart part, bool keyB) const
{
    const uint8_t *row = TrailerTable[m_groups[3]];
    switch (part) {
    case TrailerPart::KeyA:
        return false;
    case TrailerPart::AccessBits:
        return permits(row[1], keyB);
    case TrailerPart::KeyB:
        return permits(row[3], keyB);
    }
    return false;
}

bool MifareAccessConditions::allowsTrailerWrite(TrailerPart part, bool keyB) const
{
    const uint8_t *row = TrailerTable[m_groups[3]];
    switch (part) {
    case TrailerPart::KeyA:
        return permits(row[0], keyB);
    case TrailerPart::AccessBits:
        return permits(row[2], keyB);
    case TrailerPart::KeyB:
        return permits(row[4], keyB);
    }
    return false;
}

} // namespace zentrava
