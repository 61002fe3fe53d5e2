#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace zentrava {

// The access conditions of one Mifare Standard sector, decoded from bytes 6 to 8 of its trailer.
// Each of the four groups (data blocks 0, 1, 2 and the trailer; in a 16-block sector groups of
// five blocks) has three bits C1 C2 C3, stored once plain and once inverted.
class MifareAccessConditions {
public:
    enum class DataOperation { Read, Write, Increment, DecrementTransferRestore };
    enum class TrailerPart { KeyA, AccessBits, KeyB };

    // Nothing when the inverted copies disagree: the card then blocks the whole sector.
    static std::optional<MifareAccessConditions> decode(const uint8_t *accessBytes);
    // Bytes 6 to 8 for the given C1C2C3 value (0 to 7) of each group.
    static std::array<uint8_t, 3> encode(const std::array<uint8_t, 4> &groups);

    // C1C2C3 of a group as a number, C1 the highest bit.
    uint8_t group(int number) const { return m_groups[static_cast<std::size_t>(number)]; }

    bool allowsData(int group, DataOperation operation, bool keyB) const;
    bool allowsTrailerRead(TrailerPart part, bool keyB) const;
    bool allowsTrailerWrite(TrailerPart part, bool keyB) const;
    // Where key B can be read it is plain data and can no longer serve for authentication:
    // every operation under key B is refused.
    bool keyBReadable() const;

private:
    explicit MifareAccessConditions(const std::array<uint8_t, 4> &groups) : m_groups(groups) {}
    bool permits(uint8_t keys, bool keyB) const;

    std::array<uint8_t, 4> m_groups;
};

} // namespace zentrava
