#pragma once

#include "reader/ReaderApi.h"

#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

// The status an operation sees for a function that the loaded library does not export (only
// optional ordinals can be missing). The function is not called.
inline constexpr int32_t UnboundFunctionStatus = -1;

// One argument of a reader call as a trace shows it: a number (scalars, and the values that
// length and value pointers hold after the call), the bytes of a buffer (what a const buffer
// passed in, what an answer buffer holds after the call), or only whether a pointer was given
// where its size is not known.
struct ReaderCallArgument {
    enum class Kind { Number, BytesIn, BytesOut, Pointer };
    Kind kind = Kind::Number;
    int64_t number = 0;
    std::vector<uint8_t> bytes;
    bool present = true; // buffers and pointers: false for a null pointer
};

// What the operation flow tells an observer of each reader call (a call trace): the function,
// its arguments, its status and how long the library took. Installed by the shell; null when
// nobody listens.
struct ReaderCallRecord {
    int ordinal;
    const char *name;
    int32_t status;
    std::chrono::nanoseconds duration;
    std::vector<ReaderCallArgument> arguments;
};

// One parameter of a call as it was passed, before its buffers are read.
struct ReaderRawArgument {
    enum class Type { Integer, ConstBytes, Bytes, SignedValue, UnsignedValue, OtherPointer };
    Type type;
    int64_t value;        // integers
    const void *pointer;  // pointers
};
// Reads the arguments of a call that has just returned: each buffer's size comes from the
// function's buffer rules in the list (a fixed size, a count parameter, or the length the call
// answered, at most 255 bytes), so no buffer is read beyond what the function may write into it
// or read from it.
std::vector<ReaderCallArgument> DescribeReaderArguments(std::span<const ReaderBuffer> rules,
                                                         const std::vector<ReaderRawArgument> &raw);
bool ReaderCallObserved();
using ReaderCallObserver = std::function<void(const ReaderCallRecord &)>;
// Replaces the observer; an empty one stops observing. Returns the previous one.
ReaderCallObserver SetReaderCallObserver(ReaderCallObserver observer);

// How a call that may never come back (rf_init_com of a library that hangs) is waited for: the
// program makes it beside its event loop, behind the Connecting window and with the operator's
// input held back. No value when the wait was given up (the main window was closed). Without a
// waiter the call is made directly. Returns the previous waiter.
using HangingCallWaiter = std::function<std::optional<int32_t>(const std::function<int32_t()> &call)>;
HangingCallWaiter SetHangingCallWaiter(HangingCallWaiter waiter);

// One operator action on the reader, from the cleared log pane to its report. Every reader call
// of a page goes through it, named by the one list of reader functions, so the log and the
// reports always carry the list's name:
//
//     ReaderOperation op;                            // clears the log pane
//     if (!op.requirePortOpen()) return;             // "Error: Port did't opened"
//     if (!op.call<ReaderFunction::rf_halt>(0)) return;  // logged; a failure is reported
//     op.succeed(Message(Msg::OperationSucceeded));
//
// The common call lists its line in the log pane and then reports a failure. The variants below
// differ only in which of the two happen and in which order; each says who needs it.
class ReaderOperation
{
public:
    // Starts an operation: clears the log pane.
    ReaderOperation();
    // Continues an operation that a caller has already started (no clearing).
    struct Continue {};
    explicit ReaderOperation(Continue) : m_waitCursor(false) {}
    // Continues an operation whose calls may never come back: each is made through the installed
    // HangingCallWaiter. A call whose wait was given up is neither logged nor reported, and the
    // operation has been abandoned. Only calls of plain numbers can be left behind so; one with a
    // pointer among its arguments is made directly, its buffers could not outlive the wait.
    struct MayHang {};
    explicit ReaderOperation(MayHang)
        : m_waitCursor(false)
        , m_mayHang(true)
    {
    }
    bool abandoned() const { return m_abandoned; }
    ~ReaderOperation();
    ReaderOperation(const ReaderOperation &) = delete;
    ReaderOperation &operator=(const ReaderOperation &) = delete;

    // The port check: false, after reporting "Error: Port did't opened", when the port is closed.
    bool requirePortOpen();

    // The common call: made, logged, and reported when it fails. True on status 0.
    template <ReaderFunction F, class... Args>
    bool call(Args &&...args)
    {
        return conclude<F>(invoke<F>(std::forward<Args>(args)...), {});
    }

    // The same, with the failure reported under another label than the function's name (the
    // log line keeps the name): "Error: 3 ,function: Read 1" for the second of four reads.
    template <ReaderFunction F, class... Args>
    bool callReportedAs(const QString &label, Args &&...args)
    {
        return conclude<F>(invoke<F>(std::forward<Args>(args)...), {.label = &label});
    }

    // Logged, but a failure is not reported: the operation stops or goes on without a word (the
    // SHC1102 tag commands, a configuration piece the card refuses).
    template <ReaderFunction F, class... Args>
    bool callLoggingOnly(Args &&...args)
    {
        return conclude<F>(invoke<F>(std::forward<Args>(args)...), {.reportFailure = false});
    }

    // A failure is reported, but the call is not logged (the AT88RF020 lock, the SAM console's
    // ciphers; the SRF55V page reads, which logSeries lists as one line).
    template <ReaderFunction F, class... Args>
    bool callReportingOnly(Args &&...args)
    {
        return conclude<F>(invoke<F>(std::forward<Args>(args)...), {.logSuccess = false, .logFailure = false});
    }

    // The report before the log line: a failure is reported, a success shows `successText`, and
    // only then is the call logged (the purse operations).
    template <ReaderFunction F, class... Args>
    bool callReportingFirst(const QString &successText, Args &&...args)
    {
        return conclude<F>(invoke<F>(std::forward<Args>(args)...), {.reportFirst = true, .successText = &successText});
    }

    // As callReportingFirst without a success report (the pieces of the AT24 write).
    template <ReaderFunction F, class... Args>
    bool callReportingFailureFirst(Args &&...args)
    {
        return conclude<F>(invoke<F>(std::forward<Args>(args)...), {.reportFirst = true});
    }

    // As callReportingFirst, but a failure is not logged (the Mifare block write logs only its
    // successes).
    template <ReaderFunction F, class... Args>
    bool callLoggingSuccessOnly(const QString &successText, Args &&...args)
    {
        return conclude<F>(invoke<F>(std::forward<Args>(args)...),
                           {.logFailure = false, .reportFirst = true, .successText = &successText});
    }

    // The common call for a function whose status-0 answer the caller checks: when `accepted()`
    // says no, the call is logged and reported with `refusedStatus` instead (the SRF55V write
    // compares the page read back with the page written).
    template <ReaderFunction F, class Accepted, class... Args>
    bool callVerified(Accepted accepted, int32_t refusedStatus, Args &&...args)
    {
        int32_t status = invoke<F>(std::forward<Args>(args)...);
        if (status == 0 && !accepted())
            status = m_lastStatus = refusedStatus;
        return conclude<F>(status, {});
    }

    // Made but neither logged nor reported: the caller only wants the status (closing the port
    // before a connection).
    template <ReaderFunction F, class... Args>
    int32_t callSilently(Args &&...args)
    {
        return invoke<F>(std::forward<Args>(args)...);
    }

    // One log line with status 0 for a series of callReportingOnly calls of F that all succeeded.
    template <ReaderFunction F>
    void logSeries()
    {
        logLine(traitsName<F>(), 0);
    }

    // A call that answered status 0 with another length than asked for has failed all the
    // same: "Error: 0 ,function: NAME" with the sound. True when the length is right.
    template <ReaderFunction F>
    bool acceptLength(int actual, int expected)
    {
        return acceptLengthAs(actual, expected, traitsName<F>());
    }
    bool acceptLengthAs(int actual, int expected, const QString &label);
    // A status-0 answer that cannot be what the function gives (no date from the clock) is
    // reported the same way.
    template <ReaderFunction F>
    void reportWrongAnswer()
    {
        acceptLengthAs(0, 1, traitsName<F>());
    }

    // The operation's closing reports.
    void succeed(const QString &text) { reportSuccess(text); }
    void fail(const QString &text);

    // The status of the last call made through this operation.
    int32_t lastStatus() const { return m_lastStatus; }

private:
    template <ReaderFunction F>
    static QString traitsName()
    {
        return QString::fromLatin1(ReaderFunctionTraits<F>::name);
    }

    // A library may itself answer the status the flow gives an unbound function: only the
    // missing entry makes it one.
    template <ReaderFunction F>
    static bool bound()
    {
        return ReaderApi.*ReaderFunctionTraits<F>::member != nullptr;
    }

    template <ReaderFunction F, class... Args>
    int32_t invoke(Args &&...args)
    {
        // The call left behind gets copies of its arguments and an operation of its own: nothing
        // of this one may outlive the wait.
        if constexpr ((std::is_arithmetic_v<std::remove_cvref_t<Args>> && ...)) {
            if (m_mayHang) {
                const std::optional<int32_t> status = waitForHangingCall([... copies = args] {
                    ReaderOperation beside{Continue{}};
                    return beside.invoke<F>(copies...);
                });
                m_abandoned = !status.has_value();
                m_lastStatus = status.value_or(UnboundFunctionStatus);
                return m_lastStatus;
            }
        }
        using Traits = ReaderFunctionTraits<F>;
        const auto function = ReaderApi.*Traits::member;
        if (function == nullptr) {
            m_lastStatus = UnboundFunctionStatus;
            return m_lastStatus;
        }
        if (m_waitCursor && !m_waitCursorShown)
            showWaitCursor();
        if (!ReaderCallObserved()) {
            m_lastStatus = function(std::forward<Args>(args)...);
            return m_lastStatus;
        }
        // The arguments as the function receives them, so that they can be read after the call.
        using Parameters = typename ParameterList<std::remove_cv_t<decltype(function)>>::Tuple;
        Parameters parameters(std::forward<Args>(args)...);
        const auto started = std::chrono::steady_clock::now();
        m_lastStatus = std::apply(function, parameters);
        const auto duration = std::chrono::steady_clock::now() - started;
        std::vector<ReaderRawArgument> raw;
        std::apply([&raw](const auto &...parameter) { (raw.push_back(rawArgument(parameter)), ...); }, parameters);
        notify(ReaderCallRecord{Traits::ordinal, Traits::name, m_lastStatus, duration,
                                DescribeReaderArguments(Traits::buffers, raw)});
        return m_lastStatus;
    }

    template <class Signature>
    struct ParameterList;
    template <class... Params>
    struct ParameterList<int32_t(ZENTRAVA_CALL *)(Params...)> {
        using Tuple = std::tuple<Params...>;
    };

    template <class T>
    static ReaderRawArgument rawArgument(T value)
    {
        using Type = ReaderRawArgument::Type;
        if constexpr (std::is_integral_v<T>)
            return {Type::Integer, int64_t(value), nullptr};
        else if constexpr (std::is_same_v<T, const uint8_t *>)
            return {Type::ConstBytes, 0, value};
        else if constexpr (std::is_same_v<T, uint8_t *>)
            return {Type::Bytes, 0, value};
        else if constexpr (std::is_same_v<T, int32_t *>)
            return {Type::SignedValue, 0, value};
        else if constexpr (std::is_same_v<T, uint32_t *>)
            return {Type::UnsignedValue, 0, value};
        else
            return {Type::OtherPointer, 0, static_cast<const void *>(value)};
    }

    // What a variant does with a call's status: the log line and the report, in its order.
    struct Rules {
        bool logSuccess = true;
        bool logFailure = true;
        bool reportFailure = true;
        bool reportFirst = false;               // the report goes before the log line
        const QString *successText = nullptr;   // reported on success
        const QString *label = nullptr;         // a failure's label, instead of the function's name
    };

    template <ReaderFunction F>
    bool conclude(int32_t status, const Rules &rules)
    {
        if (m_abandoned)
            return false;
        const bool succeeded = status == 0;
        const auto reportStep = [&] {
            if (succeeded && rules.successText != nullptr)
                reportSuccess(*rules.successText);
            else if (!succeeded && rules.reportFailure)
                reportStatus(status, bound<F>() && rules.label != nullptr ? *rules.label : traitsName<F>(),
                             !bound<F>());
        };
        if (rules.reportFirst)
            reportStep();
        if (succeeded ? rules.logSuccess : rules.logFailure)
            logLine(traitsName<F>(), status);
        if (!rules.reportFirst)
            reportStep();
        return succeeded;
    }

    static std::optional<int32_t> waitForHangingCall(const std::function<int32_t()> &call);
    static void notify(ReaderCallRecord &&record);
    static void logLine(const QString &name, int32_t status);
    static void reportStatus(int32_t status, const QString &label, bool unbound);
    static void reportSuccess(const QString &text);

    // From its first reader call to its end, a started operation shows the wait cursor: a reader
    // at 14400 bit/s takes seconds over a whole card.
    void showWaitCursor();
    bool m_waitCursor = true;
    bool m_waitCursorShown = false;

    int32_t m_lastStatus = 0;
    bool m_mayHang = false;
    bool m_abandoned = false;
};
