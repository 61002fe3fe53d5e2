#include "reporting/ReaderOperation.h"

#include "reader/RuntimeState.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/Reporting.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string_view>

namespace {

// How a trace reads one byte pointer of a function, in parameter order.
struct BufferRule {
    enum class Size { Fixed, CountParameter, AnsweredLength, IsLength };
    Size size;
    int value;      // Fixed: bytes; CountParameter / AnsweredLength: the parameter's position
    int limit = -1; // the buffer's size where the contract fixes it below the usual answer buffer
};
constexpr BufferRule fixed(int bytes) { return {BufferRule::Size::Fixed, bytes}; }
constexpr BufferRule countIn(int parameter, int limit = -1) { return {BufferRule::Size::CountParameter, parameter, limit}; }
constexpr BufferRule answered(int lengthParameter, int limit = -1)
{
    return {BufferRule::Size::AnsweredLength, lengthParameter, limit};
}
constexpr BufferRule length() { return {BufferRule::Size::IsLength, 0}; }

// A one-byte length never gives more than this; counts given as parameters are held to the
// largest transfer a card of the library has.
constexpr int64_t MaxAnsweredBytes = 255;
constexpr int64_t MaxCountBytes = 8192;

// The byte pointers of each function and how big each is, from the library's contract.
// A pointer without a row is traced as present or null only.
const std::map<std::string_view, std::vector<BufferRule>> &bufferRules()
{
    static const std::map<std::string_view, std::vector<BufferRule>> rules = {
        {"des_encrypt", {countIn(2, 256), countIn(2), countIn(4)}},
        {"des_decrypt", {countIn(2, 256), countIn(2), countIn(4)}},
        {"rf_get_device_number", {fixed(2)}},
        {"rf_get_model", {answered(2), length()}},
        {"rf_sam_rst", {answered(2), length()}},
        {"rf_sam_cos", {countIn(2), answered(4), length()}},
        {"rf_request", {fixed(2)}},
        {"rf_anticoll", {answered(3), length()}},
        {"rf_select", {countIn(2), fixed(1)}},
        {"rf_M1_authentication2", {fixed(6)}},
        {"rf_M1_read", {answered(3), length()}},
        {"rf_M1_write", {fixed(16)}},
        {"rf_typea_rst", {answered(3), length()}},
        {"rf_cos_command", {countIn(2), answered(4), length()}},
        {"rf_atqb", {answered(3), length()}},
        {"rf_at020_check", {fixed(8)}},
        {"rf_at020_read", {answered(3), length()}},
        {"rf_at020_write", {fixed(8)}},
        {"rf_at020_lock", {fixed(4)}},
        {"rf_at020_count", {fixed(6)}},
        {"rf_st_select", {fixed(1)}},
        {"rf_sr176_readblock", {answered(3), length()}},
        {"rf_sr176_writeblock", {fixed(2)}},
        {"rf_srix4k_readblock", {answered(3), length()}},
        {"rf_srix4k_writeblock", {fixed(4)}},
        {"rf_srix4k_getuid", {answered(2), length()}},
        {"rf_ul_select", {answered(2), length()}},
        {"rf_ul_write", {fixed(4)}},
        {"ISO15693_Read", {fixed(8), answered(6), length()}},
        {"ISO15693_Write", {fixed(8), fixed(4)}},
        {"ISO15693_Lock_Block", {fixed(8)}},
        {"ISO15693_Write_AFI", {fixed(8)}},
        {"ISO15693_Lock_AFI", {fixed(8)}},
        {"ISO15693_Write_DSFID", {fixed(8)}},
        {"ISO15693_Lock_DSFID", {fixed(8)}},
        {"ISO15693_Get_System_Information", {fixed(8), answered(4), length()}},
        {"ISO15693_Get_Block_Security", {fixed(8), answered(6), length()}},
        {"smartcard_rst", {answered(2), length()}},
        {"smartcard_cos", {countIn(2), answered(4), length()}},
        {"AT24_read", {countIn(2)}},
        {"AT24_write", {countIn(2)}},
        {"AT1608_Rst", {fixed(4)}},
        {"AT1608_Authenticate", {fixed(16), fixed(8)}},
        {"AT1608_VerifyPassword", {fixed(3)}},
        {"AT1608_Read", {countIn(2)}},
        {"AT1608_Write", {countIn(4)}},
        {"AT1608_ReadFuse1", {fixed(1)}},
        {"rf_Shc1102_Auth", {fixed(4)}},
        {"rf_Shc1102_Read", {answered(3), length()}},
        {"rf_Shc1102_Write", {fixed(4)}},
        {"ReadTime", {answered(2, 7), length()}},
        {"WriteTime", {fixed(7)}},
        {"ISO15693_Inventorys", {answered(2), length()}},
        {"Srf55vp_Read", {fixed(8), answered(4), length()}},
        {"Srf55vp_Write_Reread", {fixed(8), fixed(8), answered(5), length()}},
        {"rf_DESFire_rst", {answered(3), length()}},
        {"rf_transceive1", {countIn(2), answered(4), length()}},
        {"rf_thr1064_read", {answered(3), length()}},
        {"rf_thr1064_write", {countIn(3)}},
        {"rf_thr1064_check", {fixed(8)}},
    };
    return rules;
}

int64_t unlimitedRuleBytes(const BufferRule &rule, const std::vector<ReaderRawArgument> &raw);

// The byte count a rule gives, 0 when it cannot be told.
int64_t ruleBytes(const BufferRule &rule, const std::vector<ReaderRawArgument> &raw)
{
    const int64_t bytes = unlimitedRuleBytes(rule, raw);
    return rule.limit >= 0 ? std::min<int64_t>(bytes, rule.limit) : bytes;
}

int64_t unlimitedRuleBytes(const BufferRule &rule, const std::vector<ReaderRawArgument> &raw)
{
    switch (rule.size) {
    case BufferRule::Size::Fixed: return rule.value;
    case BufferRule::Size::CountParameter: {
        if (std::size_t(rule.value) >= raw.size() || raw[std::size_t(rule.value)].type != ReaderRawArgument::Type::Integer)
            return 0;
        return std::clamp<int64_t>(raw[std::size_t(rule.value)].value, 0, MaxCountBytes);
    }
    case BufferRule::Size::AnsweredLength: {
        if (std::size_t(rule.value) >= raw.size())
            return 0;
        const ReaderRawArgument &length = raw[std::size_t(rule.value)];
        if (length.type != ReaderRawArgument::Type::Bytes || length.pointer == nullptr)
            return 0;
        return std::min<int64_t>(*static_cast<const uint8_t *>(length.pointer), MaxAnsweredBytes);
    }
    case BufferRule::Size::IsLength: return 0;
    }
    return 0;
}

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

bool ReaderCallObserved()
{
    return static_cast<bool>(observer());
}

std::vector<ReaderCallArgument> DescribeReaderArguments(const char *name, const std::vector<ReaderRawArgument> &raw)
{
    using Kind = ReaderCallArgument::Kind;
    using Type = ReaderRawArgument::Type;
    const std::vector<BufferRule> *rules = nullptr;
    if (const auto found = bufferRules().find(name); found != bufferRules().end())
        rules = &found->second;
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
            const BufferRule *rule = rules != nullptr && byteParameter < rules->size() ? &(*rules)[byteParameter] : nullptr;
            ++byteParameter;
            if (rule == nullptr) {
                argument.kind = Kind::Pointer;
            } else if (rule->size == BufferRule::Size::IsLength) {
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
