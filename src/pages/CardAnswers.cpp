#include "pages/CardAnswers.h"

#include "base/BytePointer.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::size_t ClockBytes = 7;
constexpr std::size_t SystemInformationBytes = 12;
constexpr std::size_t DsfidOffset = 9;
constexpr std::size_t AfiOffset = 10;
constexpr std::size_t InventoryRecordBytes = 9;
constexpr std::size_t UidBytes = 8;

// A BCD byte's value, or -1 when a digit is not decimal.
int fromBcd(uint8_t byte)
{
    const int high = byte >> 4;
    const int low = byte & 0x0F;
    return high > 9 || low > 9 ? -1 : high * 10 + low;
}

// The clock keeps only the year within the century: 51 to 99 are the 1900s, the rest the 2000s.
int centuryYear(int yearInCentury)
{
    return yearInCentury > 50 && yearInCentury <= 99 ? 1900 + yearInCentury : 2000 + yearInCentury;
}

} // namespace

std::optional<ClockReading> DecodeClock(std::span<const uint8_t> answer)
{
    if (answer.size() != ClockBytes)
        return std::nullopt;
    std::array<int, ClockBytes> fields{};
    for (std::size_t i = 0; i < ClockBytes; ++i) {
        fields[i] = fromBcd(answer[i]);
        if (fields[i] < 0)
            return std::nullopt;
    }
    ClockReading reading{QDate(centuryYear(fields[0]), fields[1], fields[2]), QTime(fields[4], fields[5], fields[6]),
                         fields[3]};
    if (!reading.date.isValid() || !reading.time.isValid())
        return std::nullopt;
    return reading;
}

QByteArray DecodeModelText(std::span<const uint8_t> answer)
{
    const auto end = std::find(answer.begin(), answer.end(), uint8_t(0));
    return ByteArrayOf(answer.data(), qsizetype(end - answer.begin()));
}

std::optional<SystemInformation> DecodeSystemInformation(std::span<const uint8_t> answer)
{
    if (answer.size() < SystemInformationBytes)
        return std::nullopt;
    return SystemInformation{answer[DsfidOffset], answer[AfiOffset]};
}

bool AppendBlockSecurity(std::vector<uint8_t> &security, std::size_t capacity, std::span<const uint8_t> answer,
                         int blockCount)
{
    if (blockCount < 0 || answer.size() != std::size_t(blockCount))
        return false;
    const std::size_t room = capacity > security.size() ? capacity - security.size() : 0;
    security.insert(security.end(), answer.begin(), answer.begin() + std::ptrdiff_t(std::min(room, answer.size())));
    return true;
}

QList<QByteArray> DecodeInventory(std::span<const uint8_t> answer, int maxTags)
{
    QList<QByteArray> uids;
    const std::size_t count = std::min(answer.size() / InventoryRecordBytes, std::size_t(std::max(maxTags, 0)));
    for (std::size_t i = 0; i < count; ++i) {
        const uint8_t *uid = answer.data() + InventoryRecordBytes * i + 1;
        uids.append(ByteArrayOf(uid, qsizetype(UidBytes)));
    }
    return uids;
}
