#include "reporting/ReaderOperation.h"

#include "reader/RuntimeState.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/Reporting.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

// A one-byte length never gives more than this; counts given as parameters are held to the
// largest transfer a card of the library has.
constexpr int64_t MaxAnsweredBytes = 255;
constexpr int64_t MaxCountBytes = 8192;

int64_t unlimitedRuleBytes(const ReaderBuffer &rule, const std::vector<ReaderRawArgument> &raw);

// The byte count a rule gives, 0 when it cannot be told.
int64_t ruleBytes(const ReaderBuffer &rule, const std::vector<ReaderRawArgument> &raw)
{
    const int64_t bytes = unlimitedRuleBytes(rule, raw);
    return rule.limit >= 0 ? std::min<int64_t>(bytes, rule.limit) : bytes;
}

int64_t unlimitedRuleBytes(const ReaderBuffer &rule, const std::vector<ReaderRawArgument> &raw)
{
    switch (rule.size) {
    case ReaderBuffer::Size::Fixed: return rule.value;
    case ReaderBuffer::Size::CountParameter: {
        if (std::size_t(rule.value) >= raw.size() || raw[std::size_t(rule.value)].type != ReaderRawArgument::Type::Integer)
            return 0;
        return std::clamp<int64_t>(raw[std::size_t(rule.value)].value, 0, MaxCountBytes);
    }
    case ReaderBuffer::Size::AnsweredLength: {
        if (std::size_t(rule.value) >= raw.size())
            return 0;
        const ReaderRawArgument &length = raw[std::size_t(rule.value)];
        if (length.type != ReaderRawArgument::Type::Bytes || length.pointer == nullptr)
            return 0;
        return std::min<int64_t>(*static_cast<const uint8_t *>(length.pointer), MaxAnsweredBytes);
    }
    case ReaderBuffer::Size::IsLength: return 0;
    }
    return 0;
}

ReaderCallObserver &observer()
{
    static ReaderCallObserver current;
    return current;
}

HangingCallWaiter &hangingCallWaiter()
{
    static HangingCallWaiter current;
    return current;
}

} // namespace

ReaderCallObserver SetReaderCallObserver(ReaderCallObserver next)
{
    return std::exchange(observer(), std::move(next));
}

HangingCallWaiter SetHangingCallWaiter(HangingCallWaiter waiter)
{
    return std::exchange(hangingCallWaiter(), std::move(waiter));
}

std::optional<int32_t> ReaderOperation::waitForHangingCall(const std::function<int32_t()> &call)
{
    if (hangingCallWaiter())
        return hangingCallWaiter()(call);
    return call();
}

ReaderOperation::ReaderOperation()
{
    BeginProcessLog();
}

ReaderOperation::~ReaderOperation()
{
    if (m_waitCursorShown)
        QGuiApplication::restoreOverrideCursor();
}

void ReaderOperation::showWaitCursor()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_waitCursorShown = true;
}

bool ReaderOperation::requirePortOpen()
{
    if (!PortOpen)
        ReportFailure(Message(Msg::PortNotOpened));
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

bool ReaderCallObserved()
{
    return static_cast<bool>(observer());
}

std::vector<ReaderCallArgument> DescribeReaderArguments(std::span<const ReaderBuffer> rules,
                                                         const std::vector<ReaderRawArgument> &raw)
{
    using Kind = ReaderCallArgument::Kind;
    using Type = ReaderRawArgument::Type;
    std::vector<ReaderCallArgument> arguments;
    std::size_t byteParameter = 0;
    for (const ReaderRawArgument &parameter : raw) {
        ReaderCallArgument argument;
        argument.present = parameter.pointer != nullptr;
        switch (parameter.type) {
        case Type::Integer:
            argument.number = parameter.value;
            argument.present = true;
            break;
        case Type::SignedValue:
            argument.number = argument.present ? *static_cast<const int32_t *>(parameter.pointer) : 0;
            break;
        case Type::UnsignedValue:
            argument.number = argument.present ? *static_cast<const uint32_t *>(parameter.pointer) : 0;
            break;
        case Type::ConstBytes:
        case Type::Bytes: {
            const ReaderBuffer *rule = byteParameter < rules.size() ? &rules[byteParameter] : nullptr;
            ++byteParameter;
            if (rule == nullptr) {
                argument.kind = Kind::Pointer;
            } else if (rule->size == ReaderBuffer::Size::IsLength) {
                argument.number = argument.present ? *static_cast<const uint8_t *>(parameter.pointer) : 0;
            } else {
                argument.kind = parameter.type == Type::ConstBytes ? Kind::BytesIn : Kind::BytesOut;
                const int64_t count = argument.present ? ruleBytes(*rule, raw) : 0;
                const auto *bytes = static_cast<const uint8_t *>(parameter.pointer);
                if (count > 0)
                    argument.bytes.assign(bytes, bytes + count);
            }
            break;
        }
        case Type::OtherPointer: argument.kind = Kind::Pointer; break;
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

void ReaderOperation::notify(ReaderCallRecord &&record)
{
    if (observer())
        observer()(record);
}

void ReaderOperation::logLine(const QString &name, int32_t status)
{
    AppendProcessLog(name, status);
}

void ReaderOperation::reportStatus(int32_t status, const QString &label, bool unbound)
{
    // A function missing from the library was never called: say so instead of a status the
    // library never gave.
    if (unbound) {
        ReportFailure(QStringLiteral("%1 is not in the reader library").arg(label));
        return;
    }
    ReportCallResult(status, label);
}

void ReaderOperation::reportSuccess(const QString &text)
{
    ReportSuccess(text);
}
