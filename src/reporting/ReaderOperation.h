#pragma once

#include "reader/ReaderApi.h"

#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <utility>

// The status an operation sees for a function that the loaded library does not export (only
// optional ordinals can be missing). The function is not called.
inline constexpr int32_t UnboundFunctionStatus = -1;

// What the operation flow tells an observer of each reader call (a call trace): the function,
// its status and how long the library took. Installed by the shell; null when nobody listens.
struct ReaderCallRecord {
    int ordinal;
    const char *name;
    int32_t status;
    std::chrono::nanoseconds duration;
};
using ReaderCallObserver = std::function<void(const ReaderCallRecord &)>;
// Replaces the observer; an empty one stops observing. Returns the previous one.
ReaderCallObserver SetReaderCallObserver(ReaderCallObserver observer);

// One operator action on the reader, from the cleared log pane to its report. Every reader call
// of a page goes through it, named by the one list of reader functions, so the log and the
// reports always carry the list's name:
//
//     ReaderOperation op;                            // clears the log pane
//     if (!op.requirePortOpen()) return;             // "Error: Port did't opened"
//     if (!op.call<ReaderFunction::rf_halt>(0)) return;  // logged; a failure is reported
//     op.succeed(Message(3));
//
// The common call logs its line and reports a failure. The variants below keep the orders
// some operations have on purpose; each says which.
class ReaderOperation
{
public:
    // Starts an operation: clears the log pane.
    ReaderOperation();
    // Continues an operation that a caller has already started (no clearing).
    struct Continue {};
    explicit ReaderOperation(Continue) {}

    // The port check: false, after reporting "Error: Port did't opened", when the port is closed.
    bool requirePortOpen();

    // The common call: made, logged, and reported when it fails. True on status 0.
    template <ReaderFunction F, class... Args>
    bool call(Args &&...args)
    {
        return finish<F>(invoke<F>(std::forward<Args>(args)...), traitsName<F>());
    }

    // The same, with the failure reported under another label than the function's name (the
    // log line keeps the name): "Error: 3 ,function: Read 1" for the second of four reads.
    template <ReaderFunction F, class... Args>
    bool callReportedAs(const QString &label, Args &&...args)
    {
        return finish<F>(invoke<F>(std::forward<Args>(args)...), label);
    }

    // Report first, then the log line: a failure is reported, a success shows `successText`,
    // and only then is the call listed (the purse operations keep this order).
    template <ReaderFunction F, class... Args>
    bool callReportingFirst(const QString &successText, Args &&...args)
    {
        const int32_t status = invoke<F>(std::forward<Args>(args)...);
        if (status == 0)
            reportSuccess(successText);
        else
            report<F>(status);
        log<F>(status);
        return status == 0;
    }

    // As callReportingFirst, but a failure is reported without a log line (the block write
    // lists only its successes).
    template <ReaderFunction F, class... Args>
    bool callLoggingSuccessOnly(const QString &successText, Args &&...args)
    {
        const int32_t status = invoke<F>(std::forward<Args>(args)...);
        if (status != 0) {
            report<F>(status);
            return false;
        }
        reportSuccess(successText);
        log<F>(status);
        return true;
    }

    // Made but neither logged nor reported: the caller only wants the status (closing the port
    // before a reconnection).
    template <ReaderFunction F, class... Args>
    int32_t callUnlogged(Args &&...args)
    {
        return invoke<F>(std::forward<Args>(args)...);
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

    // A status the caller got through callUnlogged, logged and reported the common way.
    template <ReaderFunction F>
    bool finish(int32_t status)
    {
        return finish<F>(status, traitsName<F>());
    }

    // The log line of a call, and the report of its status, one at a time.
    template <ReaderFunction F>
    void log(int32_t status)
    {
        logLine(traitsName<F>(), status);
    }
    template <ReaderFunction F>
    void report(int32_t status)
    {
        reportStatus(status, traitsName<F>());
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

    template <ReaderFunction F, class... Args>
    int32_t invoke(Args &&...args)
    {
        using Traits = ReaderFunctionTraits<F>;
        const auto function = ReaderApi.*Traits::member;
        if (function == nullptr) {
            m_lastStatus = UnboundFunctionStatus;
            return m_lastStatus;
        }
        const auto started = std::chrono::steady_clock::now();
        m_lastStatus = function(std::forward<Args>(args)...);
        notify(Traits::ordinal, Traits::name, m_lastStatus, std::chrono::steady_clock::now() - started);
        return m_lastStatus;
    }

    template <ReaderFunction F>
    bool finish(int32_t status, const QString &label)
    {
        log<F>(status);
        if (status != 0)
            reportStatus(status, status == UnboundFunctionStatus ? traitsName<F>() : label);
        return status == 0;
    }

    static void notify(int ordinal, const char *name, int32_t status, std::chrono::nanoseconds duration);
    static void logLine(const QString &name, int32_t status);
    static void reportStatus(int32_t status, const QString &label);
    static void reportSuccess(const QString &text);

    int32_t m_lastStatus = 0;
};
