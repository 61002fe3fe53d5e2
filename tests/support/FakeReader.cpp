#include "FakeReader.h"

#include <algorithm>
#include <cstring>

namespace {

FakeReader *current = nullptr;

QByteArray bytes(const uint8_t *data, int count)
{
    return data == nullptr || count <= 0 ? QByteArray() : QByteArray(reinterpret_cast<const char *>(data), count);
}

// Writes an answer's bytes into the caller's buffer and its length into the out length.
int32_t deliver(const FakeReader::Answer &answer, uint8_t *buffer, uint8_t *length)
{
    if (buffer != nullptr && !answer.data.isEmpty())
        std::memcpy(buffer, answer.data.constData(), std::size_t(answer.data.size()));
    if (length != nullptr)
        *length = uint8_t(answer.length >= 0 ? answer.length : answer.data.size());
    return answer.status;
}

FakeReader::Answer take(const char *name, std::vector<int64_t> args, QByteArray data = {})
{
    return current->take(QString::fromLatin1(name), std::move(args), std::move(data));
}

// The entry points, one per function the pages call.
int32_t ZENTRAVA_CALL fakeLibVer(uint32_t *version)
{
    const auto answer = take("lib_ver", {});
    if (version != nullptr)
        *version = uint32_t(answer.value);
    return answer.status;
}
int32_t ZENTRAVA_CALL fakeInitCom(int32_t port, int32_t baud) { return take("rf_init_com", {port, baud}).status; }
int32_t ZENTRAVA_CALL fakeCloseCom() { return take("rf_close_com", {}).status; }
int32_t ZENTRAVA_CALL fakeInitDeviceNumber(uint16_t number) { return take("rf_init_device_number", {number}).status; }
int32_t ZENTRAVA_CALL fakeGetDeviceNumber(uint8_t *number) { return deliver(take("rf_get_device_number", {}), number, nullptr); }
int32_t ZENTRAVA_CALL fakeGetModel(uint16_t, uint8_t *text, uint8_t *len) { return deliver(take("rf_get_model", {}), text, len); }
int32_t ZENTRAVA_CALL fakeBeep(uint16_t, uint8_t tens) { return take("rf_beep", {tens}).status; }
int32_t ZENTRAVA_CALL fakeInitType(uint16_t, uint8_t type) { return take("rf_init_type", {type}).status; }
int32_t ZENTRAVA_CALL fakeAntenna(uint16_t, uint8_t on) { return take("rf_antenna_sta", {on}).status; }
int32_t ZENTRAVA_CALL fakeLight(uint16_t, uint8_t colour) { return take("rf_light", {colour}).status; }
int32_t ZENTRAVA_CALL fakeRequest(uint16_t, uint8_t mode, uint8_t *tagType) { return deliver(take("rf_request", {mode}), tagType, nullptr); }
int32_t ZENTRAVA_CALL fakeAnticoll(uint16_t, uint8_t bits, uint8_t *serial, uint8_t *len) { return deliver(take("rf_anticoll", {bits}), serial, len); }
int32_t ZENTRAVA_CALL fakeSelect(uint16_t, const uint8_t *serial, uint8_t serialLen, uint8_t *size)
{
    const auto answer = take("rf_select", {serialLen}, bytes(serial, serialLen));
    if (size != nullptr)
        *size = 0x08;
    return answer.status;
}
int32_t ZENTRAVA_CALL fakeHalt(uint16_t) { return take("rf_halt", {}).status; }
int32_t ZENTRAVA_CALL fakeAuthentication2(uint16_t, uint8_t mode, uint8_t block, const uint8_t *key) { return take("rf_M1_authentication2", {mode, block}, bytes(key, 6)).status; }
int32_t ZENTRAVA_CALL fakeM1Read(uint16_t, uint8_t block, uint8_t *data, uint8_t *len) { return deliver(take("rf_M1_read", {block}), data, len); }
int32_t ZENTRAVA_CALL fakeM1Write(uint16_t, uint8_t block, const uint8_t *data) { return take("rf_M1_write", {block}, bytes(data, 16)).status; }
int32_t ZENTRAVA_CALL fakeInitVal(uint16_t, uint8_t block, int32_t value) { return take("rf_M1_initval", {block, value}).status; }
int32_t ZENTRAVA_CALL fakeReadVal(uint16_t, uint8_t block, int32_t *value)
{
    const auto answer = take("rf_M1_readval", {block});
    if (value != nullptr)
        *value = int32_t(answer.value);
    return answer.status;
}
int32_t ZENTRAVA_CALL fakeDecrement(uint16_t, uint8_t block, int32_t amount) { return take("rf_M1_decrement", {block, amount}).status; }
int32_t ZENTRAVA_CALL fakeIncrement(uint16_t, uint8_t block, int32_t amount) { return take("rf_M1_increment", {block, amount}).status; }
int32_t ZENTRAVA_CALL fakeUlSelect(uint16_t, uint8_t *serial, uint8_t *len) { return deliver(take("rf_ul_select", {}), serial, len); }
int32_t ZENTRAVA_CALL fakeUlWrite(uint16_t, uint8_t page, const uint8_t *data) { return take("rf_ul_write", {page}, bytes(data, 4)).status; }
int32_t ZENTRAVA_CALL fakeReadTime(uint16_t, uint8_t *clock, uint8_t *len) { return deliver(take("ReadTime", {}), clock, len); }
int32_t ZENTRAVA_CALL fakeWriteTime(uint16_t, const uint8_t *clock) { return take("WriteTime", {}, bytes(clock, 7)).status; }

FakeReader::Answer natural(const QString &name)
{
    // What a present, cooperative card or reader answers when a test scripts nothing.
    if (name == QLatin1String("rf_anticoll"))
        return {0, QByteArray::fromHex("A1B2C3D4"), -1, 0};
    if (name == QLatin1String("rf_request"))
        return {0, QByteArray::fromHex("0400"), -1, 0};
    if (name == QLatin1String("rf_M1_read"))
        return {0, QByteArray(16, '\0'), -1, 0};
    if (name == QLatin1String("rf_ul_select"))
        return {0, QByteArray::fromHex("04112233445566"), -1, 0};
    if (name == QLatin1String("rf_get_model"))
        return {0, QByteArrayLiteral("ZT-SIF-FAKE"), -1, 0};
    if (name == QLatin1String("rf_get_device_number"))
        return {0, QByteArray::fromHex("0102"), -1, 0};
    if (name == QLatin1String("lib_ver"))
        return {0, {}, -1, 7};
    if (name == QLatin1String("ReadTime"))
        return {0, QByteArray::fromHex("26120607103000"), -1, 0};
    return {};
}

} // namespace

FakeReader::FakeReader()
    : m_saved(ReaderApi)
{
    current = this;
    ReaderApiTable api;
    api.lib_ver = fakeLibVer;
    api.rf_init_com = fakeInitCom;
    api.rf_close_com = fakeCloseCom;
    api.rf_init_device_number = fakeInitDeviceNumber;
    api.rf_get_device_number = fakeGetDeviceNumber;
    api.rf_get_model = fakeGetModel;
    api.rf_beep = fakeBeep;
    api.rf_init_type = fakeInitType;
    api.rf_antenna_sta = fakeAntenna;
    api.rf_light = fakeLight;
    api.rf_request = fakeRequest;
    api.rf_anticoll = fakeAnticoll;
    api.rf_select = fakeSelect;
    api.rf_halt = fakeHalt;
    api.rf_M1_authentication2 = fakeAuthentication2;
    api.rf_M1_read = fakeM1Read;
    api.rf_M1_write = fakeM1Write;
    api.rf_M1_initval = fakeInitVal;
    api.rf_M1_readval = fakeReadVal;
    api.rf_M1_decrement = fakeDecrement;
    api.rf_M1_increment = fakeIncrement;
    api.rf_ul_select = fakeUlSelect;
    api.rf_ul_write = fakeUlWrite;
    api.ReadTime = fakeReadTime;
    api.WriteTime = fakeWriteTime;
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

void FakeReader::script(const QString &name, Answer answer)
{
    m_script[name].push_back(std::move(answer));
}

void FakeReader::setDefault(const QString &name, Answer answer)
{
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
        QString line = QStringLiteral("%1(%2)").arg(call.name, args.join(QLatin1Char(',')));
        if (!call.data.isEmpty())
            line += QLatin1Char(' ') + QString::fromLatin1(call.data.toHex().toUpper());
        lines << line;
    }
    return lines;
}

std::vector<FakeReader::Call> FakeReader::callsTo(const QString &name) const
{
    std::vector<Call> found;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(found),
                 [&](const Call &call) { return call.name == name; });
    return found;
}

FakeReader::Answer FakeReader::take(const QString &name, std::vector<int64_t> args, QByteArray data)
{
    m_calls.push_back(Call{name, std::move(args), std::move(data)});
    auto queued = m_script.find(name);
    if (queued != m_script.end() && !queued->second.empty()) {
        Answer answer = queued->second.front();
        queued->second.pop_front();
        return answer;
    }
    auto fallback = m_defaults.find(name);
    return fallback != m_defaults.end() ? fallback->second : natural(name);
}
