#include "FakeReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>
#include <type_traits>

namespace {

FakeReader *current = nullptr;

template <class T>
int64_t scalarValue(T value)
{
    if constexpr (std::is_integral_v<T>)
        return int64_t(value);
    else
        return 0;
}

// How many bytes a buffer holds by the contract: a fixed size, a count the program passes, the
// usual answer buffer (a one-byte length can fill at most 255 of it) or a one-byte length. The
// list's own checks give every byte pointer a rule, and inputs only the first two.
int contractBytes(const ReaderBuffer &rule, const int64_t *values)
{
    int bytes = 1;
    if (rule.size == ReaderBuffer::Size::Fixed)
        bytes = rule.value;
    else if (rule.size == ReaderBuffer::Size::CountParameter)
        bytes = int(values[rule.value]);
    else if (rule.size == ReaderBuffer::Size::AnsweredLength)
        bytes = AnswerBufferBytes;
    return rule.limit >= 0 ? std::min(bytes, rule.limit) : bytes;
}

// One fake entry point per function of the list, written once for every signature: integer
// parameters are recorded, const byte buffers are recorded with their sizes, and the answer
// goes into the out parameters (the first byte buffer gets the data, a last byte pointer after
// it gets the length, an int or version pointer gets the value).
template <ReaderFunction F, class Signature>
struct FakeEntry;

template <ReaderFunction F, class... Params>
struct FakeEntry<F, int32_t(ZENTRAVA_CALL *)(Params...)> {
    static int32_t ZENTRAVA_CALL call(Params... params)
    {
        const QString name = QString::fromLatin1(ReaderFunctionTraits<F>::name);
        FakeReader::Offer offer{name};
        std::vector<int64_t> scalars;
        QByteArray inputs;
        std::vector<uint8_t *> outputs;
        // The library's table of byte buffers says how many bytes each input buffer holds.
        const auto &rules = ReaderFunctionTraits<F>::buffers;
        std::size_t bytePointer = 0;
        int64_t values[sizeof...(Params) + 1] = {scalarValue(params)...};
        constexpr bool skipDevice = ReaderFunctionTraits<F>::addressesDevice;

        std::size_t index = 0;
        auto visit = [&](auto parameter) {
            using T = decltype(parameter);
            if constexpr (std::is_integral_v<T>) {
                if (!(index == 0 && skipDevice))
                    scalars.push_back(int64_t(parameter));
            } else if constexpr (std::is_same_v<T, const uint8_t *> || std::is_same_v<T, uint8_t *>) {
                const ReaderBuffer &rule = rules[bytePointer++];
                if constexpr (std::is_same_v<T, const uint8_t *>) {
                    const int count = contractBytes(rule, values);
                    if (parameter != nullptr && count > 0)
                        inputs += QByteArray(reinterpret_cast<const char *>(parameter), count);
                } else {
                    outputs.push_back(parameter);
                    if (outputs.size() == 1)
                        offer.bufferBytes = std::clamp(contractBytes(rule, values), 0, AnswerBufferBytes);
                    else if (rule.size == ReaderBuffer::Size::IsLength)
                        offer.reportsLength = true;
                }
            }
            ++index;
        };
        (visit(params), ...);
        std::ignore = visit; // functions without parameters visit nothing

        const FakeReader::Answer answer = current->take(offer, std::move(scalars), std::move(inputs));
        uint8_t *data = outputs.empty() ? nullptr : outputs.front();
        uint8_t *length = outputs.size() >= 2 ? outputs.back() : nullptr;
        // Never beyond the buffer the program offered, whatever length the answer reports.
        const int written = std::min<int>(int(answer.data.size()), offer.bufferBytes);
        if (data != nullptr && written > 0)
            std::memcpy(data, answer.data.constData(), std::size_t(written));
        if (length != nullptr)
            *length = uint8_t(answer.length >= 0 ? answer.length : answer.data.size());
        auto deliverValue = [&](auto parameter) {
            using T = decltype(parameter);
            if constexpr (std::is_same_v<T, int32_t *> || std::is_same_v<T, uint32_t *>) {
                if (parameter != nullptr)
                    *parameter = std::remove_pointer_t<T>(answer.value);
            }
        };
        (deliverValue(params), ...);
        std::ignore = deliverValue;
        return answer.status;
    }
};

} // namespace

FakeReader::FakeReader()
    : m_saved(ReaderApi)
{
    current = this;
    ReaderApiTable api;
#define FAKE_ENTRY(ordinal, name, presence, params, args, buffers) \
    api.name = &FakeEntry<ReaderFunction::name, decltype(ReaderApiTable::name)>::call;
#define FAKE_NO_ENTRY(ordinal, presence)
    ZENTRAVA_READER_FUNCTIONS(FAKE_ENTRY, FAKE_NO_ENTRY)
#undef FAKE_ENTRY
#undef FAKE_NO_ENTRY
    ReaderApi = api;
}

FakeReader::~FakeReader()
{
    ReaderApi = m_saved;
    current = nullptr;
}

FakeReader *FakeReader::instance()
{
    return current;
}

FakeReader::Answer FakeReader::naturalAnswer(const QString &name)
{
    // What the simulated reader's default field and reader answer.
    static const std::map<QString, Answer> answers = {
        {"rf_request", {0, QByteArray::fromHex("0200"), -1, 0}},
        {"rf_anticoll", {0, QByteArray::fromHex("C0FFEE42"), -1, 0}},
        {"rf_select", {0, QByteArray::fromHex("18"), -1, 0}},
        {"rf_M1_read", {0, QByteArray(16, '\0'), -1, 0}},
        {"rf_ul_select", {0, QByteArray::fromHex("04A1B2C3D4E5F6"), -1, 0}},
        {"rf_get_model", {0, QByteArrayLiteral("ZT600F-SIM"), -1, 0}},
        {"rf_get_device_number", {0, QByteArray::fromHex("0000"), -1, 0}},
        {"lib_ver", {0, {}, -1, 1}},
        {"ReadTime", {0, QByteArray::fromHex("26120607103000"), -1, 0}},
        {"rf_typea_rst", {0, QByteArray::fromHex("5A10CB010A788070025A54435055"), -1, 0}},
        {"rf_DESFire_rst", {0, QByteArray::fromHex("04D3F1E2A55B80067577810280"), -1, 0}},
        {"rf_atqb", {0, QByteArray::fromHex("50B0C1D2E300000000008141"), -1, 0}},
        {"smartcard_rst", {0, QByteArray::fromHex("3B6A00005A5443505501C0DE0001"), -1, 0}},
        {"rf_sam_rst", {0, QByteArray::fromHex("3B6A00005A5453414D015A300001"), -1, 0}},
        {"rf_cos_command", {0, QByteArray::fromHex("9000"), -1, 0}},
        {"smartcard_cos", {0, QByteArray::fromHex("9000"), -1, 0}},
        {"rf_sam_cos", {0, QByteArray::fromHex("9000"), -1, 0}},
    };
    const auto found = answers.find(name);
    return found != answers.end() ? found->second : Answer{};
}

void FakeReader::requireKnown(const QString &name)
{
    if (FindReaderEntry(name.toLatin1().constData()) == nullptr)
        ADD_FAILURE() << "the reader library has no function named \"" << name.toStdString() << '"';
}

void FakeReader::script(const QString &name, Answer answer)
{
    requireKnown(name);
    m_script[name].push_back(std::move(answer));
}

void FakeReader::setDefault(const QString &name, Answer answer)
{
    requireKnown(name);
    m_defaults[name] = std::move(answer);
}

QStringList FakeReader::callNames() const
{
    QStringList names;
    for (const Call &call : m_calls)
        names << call.name;
    return names;
}

QStringList FakeReader::trace() const
{
    QStringList lines;
    for (const Call &call : m_calls) {
        QStringList args;
        for (int64_t arg : call.args)
            args << QString::number(arg);
        lines << QStringLiteral("%1(%2)").arg(call.name, args.join(QLatin1Char(',')))
                     + (call.data.isEmpty() ? QString() : QLatin1Char(' ') + QString::fromLatin1(call.data.toHex().toUpper()));
    }
    return lines;
}

std::vector<FakeReader::Call> FakeReader::callsTo(const QString &name) const
{
    requireKnown(name);
    std::vector<Call> found;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(found),
                 [&](const Call &call) { return call.name == name; });
    return found;
}

FakeReader::Answer FakeReader::take(const Offer &offer, std::vector<int64_t> args, QByteArray data)
{
    const QString &name = offer.name;
    m_calls.push_back(Call{name, std::move(args), std::move(data)});
    auto queued = m_script.find(name);
    if (queued != m_script.end() && !queued->second.empty()) {
        Answer answer = queued->second.front();
        queued->second.pop_front();
        return answer;
    }
    if (m_plan)
        return m_plan(offer);
    auto fallback = m_defaults.find(name);
    return fallback != m_defaults.end() ? fallback->second : naturalAnswer(name);
}
