// The settings file as a hand editor or a damaged disk may leave it: read by the program at
// start-up, then written back when a value changes.
#include "FuzzHarness.h"

#include "reader/CSettingsKey.h"
#include "reader/RuntimeState.h"
#include "reader/Settings.h"

#include <QDir>

#include <array>
#include <optional>

namespace {

const std::array<QString, 5> ValueNames = {QStringLiteral("CurCard"), QStringLiteral("ComPort"),
                                           QStringLiteral("BaudRate"), QStringLiteral("CurBitmap"),
                                           QStringLiteral("Other")};

std::array<std::optional<uint32_t>, 5> readAll(const CSettingsKey &key)
{
    std::array<std::optional<uint32_t>, 5> values;
    for (std::size_t i = 0; i < ValueNames.size(); ++i)
        if (uint32_t value = 0; key.readDword(ValueNames[i], value))
            values[i] = value;
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    // The settings file's path below the scratch folder.
    static const std::string name = [] {
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(fuzzharness::ScratchFolder()));
        QDir().mkpath(QString::fromStdString(fuzzharness::ScratchFolder()) + QStringLiteral("/Corvale"));
        const QString path = CSettingsKey::keyFilePath(QString::fromLatin1(SettingsKeyName));
        return path.toStdString().substr(fuzzharness::ScratchFolder().size() + 1);
    }();
    fuzzharness::ScratchFile(name, data, size);

    // Whatever the file holds, the values that index tables end up inside them.
    ResetRuntimeState();
    ReadSettings();
    FUZZ_CHECK(CardType == PortPageCardType || (CardType >= 0 && CardType < CardTypeCount));
    FUZZ_CHECK(BaudRate >= 0 && BaudRate < int(BaudRateTable.size()));
    FUZZ_CHECK(ComPort >= 0 && ComPort <= 255);

    // Writing one value keeps every other value as it read.
    CSettingsKey key;
    FUZZ_CHECK(key.openForWriting(QString::fromLatin1(SettingsKeyName)));
    auto expected = readAll(key);
    FUZZ_CHECK(key.writeDword(ValueNames[0], 0x1234ABCDu));
    expected[0] = 0x1234ABCDu;
    CSettingsKey again;
    FUZZ_CHECK(again.openForReading(QString::fromLatin1(SettingsKeyName)));
    FUZZ_CHECK(readAll(again) == expected);
    return 0;
}
