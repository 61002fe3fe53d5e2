#pragma once

#include "ReaderDevice.h"
#include "StatusCode.h"

#include "reader/ReaderFunctions.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace zentrava {

// How long a serial reader takes for a call, when the scenario asks for real timing: the command
// frame and the answer frame on the serial line, the reader's own turnaround, and whatever the
// card spends (an authentication, programming its memory, its answer to reset). The figures and
// where they come from are listed in simulator/README.md.
namespace timing {

using Duration = std::chrono::nanoseconds;
using namespace std::chrono_literals;

// Every frame is STX, the device number (2 bytes), the length, the command (or, answering, the
// status), the data, the BCC and ETX; every byte is 8N1: a start bit, 8 data bits, a stop bit.
inline constexpr int FrameOverheadBytes = 7;
inline constexpr int BitsPerByte = 10;
// From the command's last byte to the first byte of the answer, card time apart.
inline constexpr Duration ReaderTurnaround = 500us;
// How long the library waits for an answer that does not come.
inline constexpr Duration AnswerTimeout = 500ms;

// Card times.
inline constexpr Duration MifareAuthentication = 1500us;
// Programming one block of a card's EEPROM (Mifare Standard, SHC1102, the ST and type B tags).
inline constexpr Duration BlockWrite = 2500us;
inline constexpr Duration UltralightPageWrite = 4100us;
// An ISO 15693 block write or lock, and the AFI's and DSFID's.
inline constexpr Duration VicinityBlockWrite = 5ms;
inline constexpr Duration At24PageWrite = 5ms;
// A contact card answers its reset after at most 40,000 clock cycles of 3.5712 MHz; each character
// of its answer is 12 elementary time units of 372 clock cycles at 9600 bit/s.
inline constexpr Duration ContactResetWait = 11200us;
inline constexpr int ContactCharacterUnits = 12;

constexpr Duration wire(int bytes, int32_t baud)
{
    return baud <= 0 ? Duration{0} : Duration{int64_t(bytes) * BitsPerByte * 1'000'000'000 / baud};
}

// A contact card's reset: the wait, then its answer at the slot's rate.
constexpr Duration contactReset(std::size_t answerBytes, int32_t bitsPerSecond)
{
    return ContactResetWait + Duration{int64_t(answerBytes) * ContactCharacterUnits * 1'000'000'000 / bitsPerSecond};
}

// The data bytes a call carries each way, from the one list's parameters and buffer rules: scalars
// and the buffers passed in go with the command (the device index is the frame's own), answer
// buffers and value pointers come back when the call succeeded. A one-byte length is the frame's
// length byte.
struct FrameData {
    int command = 0;
    int answer = 0;
};

namespace detail {
template <class T> int64_t integerOf(T value)
{
    if constexpr (std::is_integral_v<T>)
        return int64_t(value);
    else
        return 0;
}
template <class T> const void *pointerOf(T value)
{
    if constexpr (std::is_pointer_v<T>)
        return value;
    else
        return nullptr;
}
} // namespace detail

template <ReaderFunction F, class... Args> FrameData frameData(bool succeeded, Args... args)
{
    using Info = ReaderFunctionInfo<F>;
    const int64_t integers[] = {detail::integerOf(args)..., 0};
    const void *pointers[] = {detail::pointerOf(args)..., nullptr};
    const auto ruleBytes = [&](const ReaderBuffer &rule) -> int {
        int64_t bytes = 0;
        switch (rule.size) {
        case ReaderBuffer::Size::Fixed: bytes = rule.value; break;
        case ReaderBuffer::Size::CountParameter: bytes = integers[rule.value]; break;
        case ReaderBuffer::Size::AnsweredLength:
            bytes = pointers[rule.value] ? *static_cast<const uint8_t *>(pointers[rule.value]) : 0;
            break;
        case ReaderBuffer::Size::IsLength: bytes = 0; break;
        }
        return int(std::clamp<int64_t>(bytes, 0, rule.limit >= 0 ? rule.limit : 8192));
    };
    FrameData data;
    std::size_t index = 0;
    std::size_t byteRule = 0;
    const auto add = [&](auto value) {
        using T = decltype(value);
        const bool device = index++ == 0 && Info::addressesDevice;
        if constexpr (std::is_integral_v<T>) {
            if (!device)
                data.command += int(sizeof(T));
        } else if constexpr (std::is_same_v<T, const uint8_t *>) {
            data.command += ruleBytes(Info::buffers[byteRule++]);
        } else if constexpr (std::is_same_v<T, uint8_t *>) {
            const int bytes = ruleBytes(Info::buffers[byteRule++]);
            if (succeeded)
                data.answer += bytes;
        } else if (succeeded) {
            data.answer += int(sizeof(*value));
        }
    };
    (add(args), ...);
    return data;
}

// The time of one call that answered `result` on a line at `baud`, the card having spent `card`.
// What the library does alone (its version, the cipher, closing the port) and what never leaves
// the host (a port that is closed or does not exist) takes no reader time; a reader that does not
// answer costs the command and the library's time-out.
template <ReaderFunction F, class... Args> Duration callTime(int32_t result, Duration card, int32_t baud, Args... args)
{
    if constexpr (!needsOpenPort(F) && F != ReaderFunction::rf_init_com) {
        return Duration{0};
    } else {
        if (result == status::PortNotOpen || result == status::PortUnavailable)
            return Duration{0};
        // Opening the port sends one empty frame to see that the reader answers.
        const FrameData data = F == ReaderFunction::rf_init_com ? FrameData{} : frameData<F>(result == status::Ok, args...);
        if (result == status::TimedOut)
            return wire(FrameOverheadBytes + data.command, baud) + AnswerTimeout;
        return wire(2 * FrameOverheadBytes + data.command + data.answer, baud) + ReaderTurnaround + card;
    }
}

} // namespace timing

// What the card spends during one library call, reported by the card models and added to the
// call's time by the session. The library serializes its calls, so one open scope is all there is.
class CardTime {
public:
    class Scope {
    public:
        Scope();
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;
        timing::Duration spent() const { return m_spent; }

    private:
        friend class CardTime;
        Scope *m_outer;
        timing::Duration m_spent{0};
    };

    static void spend(timing::Duration duration);
};

// The reader's pace on the host's clock. A call waits until its modelled time has passed since it
// began; when the scheduler wakes the caller late, the lateness is taken off the waits of the
// calls that follow (up to their whole length), so that over an operation the reader's time stays
// the modelled sum on a busy machine too.
class ReaderPace {
public:
    void waitUntil(std::chrono::steady_clock::time_point deadline);

private:
    timing::Duration m_owed{0};
};

} // namespace zentrava
