#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace zentrava {

// The reader's real-time clock: seven BCD bytes, year within the century, month, day, week day
// (Monday 1 to Sunday 7), hour, minute, second. It is kept as an offset against the computer's
// local time, so it runs on between calls and between runs. Two-digit years above 50 are read
// as 19xx, the others as 20xx, as the program shows them.
class ReaderClock {
public:
    using Bcd = std::array<uint8_t, 7>;

    // Local wall-clock time as seconds since 1970-01-01 00:00 of the same calendar.
    static int64_t localNow();
    static Bcd read(int64_t offsetSeconds, int64_t localNowSeconds);
    // Nothing when a byte is not BCD, the date does not exist, a field is out of range or the
    // week day does not belong to the date.
    static std::optional<int64_t> offsetFor(const uint8_t *clock, int64_t localNowSeconds);
};

} // namespace zentrava
