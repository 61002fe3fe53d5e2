#include "reporting/ReaderOperation.h"

#include "reader/RuntimeState.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/Reporting.h"

namespace {

ReaderCallObserver &observer()
{
    static ReaderCallObserver current;
    return current;
}

} // namespace

ReaderCallObserver SetReaderCallObserver(ReaderCallObserver next)
{
    return std::exchange(observer(), std::move(next));
}

ReaderOperation::ReaderOperation()
{
    BeginProcessLog();
}

bool ReaderOperation::requirePortOpen()
{
    if (!PortOpen)
        ReportFailure(Message(5));
    return PortOpen;
}

bool ReaderOperation::acceptLengthAs(int actual, int expected, const QString &label)
{
    if (actual == expected)
        return true;
    ReportWrongLength(label);
    return false;
}

void ReaderOperation::fail(const QString &text)
{
    ReportFailure(text);
}

void ReaderOperation::notify(int ordinal, const char *name, int32_t status, std::chrono::nanoseconds duration)
{
    if (observer())
        observer()(ReaderCallRecord{ordinal, name, status, duration});
}

void ReaderOperation::logLine(const QString &name, int32_t status)
{
    AppendProcessLog(name, status);
}

void ReaderOperation::reportStatus(int32_t status, const QString &label)
{
    // A function missing from the library was never called: say so instead of a status the
    // library never gave.
    if (status == UnboundFunctionStatus) {
        ReportFailure(QStringLiteral("%1 is not in the reader library").arg(label));
        return;
    }
    ReportCallResult(status, label);
}

void ReaderOperation::reportSuccess(const QString &text)
{
    ReportSuccess(text);
}
