#include "FrameFixture.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Each test starts from a machine without the settings key and leaves none behind.
using SettingsTest = FrameFixture;

void writeFile(const QByteArray &contents)
{
    const QString path = FrameFixture::settingsPath();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    ASSERT_TRUE(writeBytes(path, contents));
}

QByteArray keyFile(const QByteArray &values)
{
    return "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvale\\IORFCard]\r\n" + values;
}

// No key, missing, wrongly typed, malformed and out-of-range values, and values outside this key.
TEST_F(SettingsTest, BadValuesTakeTheirDefaultsOrAreBroughtIntoRange)
{
    const QString path = settingsPath();
    EXPECT_EQ(path, qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Corvale/IORFCard.reg"));
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(char((i * 37 + 11) % 256));
    const QByteArray otherKey = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other\\Thing]\n"
                                "\"ComPort\"=dword:00000004\n\n[HKEY_LOCAL_MACHINE\\Software\\Corvale\\IORFCard]\n"
                                "\"CurCard\"=dword:00000002\n";
    const struct {
        QByteArray file;
        int cardType, comPort, baudRate;
    } cases[] = {
        {{}, 1, 0, 1}, // no key at all: card 1 on port 0 at 14400
        // ComPort missing gives 0, not the initial 1; a string BaudRate or a hex CurBitmap is no DWORD.
        {keyFile("\"CurCard\"=dword:00000004\r\n\"BaudRate\"=\"5\"\r\n\"CurBitmap\"=hex:05,00,00,00\r\n"), 4, 0, 1},
        {keyFile("\"ComPort\"=DWORD:00000006\r\n"), 1, 6, 1},
        {keyFile("\"ComPort\"=dword:7\r\n"), 1, 7, 1},
        {keyFile("\"ComPort\"=dword:000000003\r\n"), 1, 0, 1}, // nine digits do not fit
        {keyFile("\"ComPort\"=dword:0000000g\r\n"), 1, 0, 1},
        {keyFile("\"ComPort\"=3\r\n"), 1, 0, 1},
        {garbage + "\n\"ComPort\"=dword:00000003\n", 1, 0, 1},
        {otherKey, 2, 0, 1},
        {keyFile("\"CurCard\"=dword:000000ff\n\"BaudRate\"=dword:00000006\n"), 255, 0, 6}, // port page kept
        {keyFile("\"CurCard\"=dword:0000001b\n\"BaudRate\"=dword:00000000\n"), 27, 0, 0},
        {keyFile("\"CurCard\"=dword:0000001c\n\"BaudRate\"=dword:00000007\n"), 0, 0, 1},
        {keyFile("\"CurCard\"=dword:ffffffff\n\"BaudRate\"=dword:ffffffff\n\"ComPort\"=dword:ffffffff\n"), 0, 0, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file.right(80).toStdString());
        ResetRuntimeState();
        QFile::remove(path);
        if (!c.file.isEmpty())
            writeFile(c.file);
        ReadSettings();
        EXPECT_EQ(std::tuple(CardType, ComPort, BaudRate, CurBitmap), std::tuple(c.cardType, c.comPort, c.baudRate, 0));
    }
}

// The write keeps the key's other values and replaces wrongly typed ones. The program's start-up
// tests read the values back; the interrupted-save tests hold the atomic replacement and a
// place that cannot take the file.
TEST_F(SettingsTest, WriteKeepsOtherValuesAndReplacesWronglyTypedOnes)
{
    const QString path = settingsPath();
    writeFile(keyFile("\"Extra\"=\"kept\"\r\n\"BaudRate\"=\"5\"\r\n"));
    CardType = 255;
    ComPort = 3;
    BaudRate = 5;
    CurBitmap = 12;
    WriteSettings();
    const QByteArray text = fileBytes(path);
    EXPECT_TRUE(text.startsWith("Windows Registry Editor Version 5.00\n")) << text.constData();
    for (const char *line : {"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvale\\IORFCard]\n", "\"Extra\"=\"kept\"\n",
                             "\"CurCard\"=dword:000000ff\n", "\"ComPort\"=dword:00000003\n",
                             "\"BaudRate\"=dword:00000005\n", "\"CurBitmap\"=dword:0000000c\n"})
        EXPECT_TRUE(text.contains(line)) << line;
    EXPECT_FALSE(text.contains("\"BaudRate\"=\"5\""));
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files), QStringList{QStringLiteral("IORFCard.reg")});
}

TEST(SettingsKeyTest, UnopenedKeysFailAndNamesWithQuotesAndBackslashesSurviveARoundTrip)
{
    {
        CSettingsKey key;
        uint32_t value = 99;
        EXPECT_FALSE(key.readDword(QStringLiteral("CurCard"), value));
        EXPECT_FALSE(key.openForReading(QStringLiteral("NoSuchKey")));
        EXPECT_FALSE(key.writeDword(QStringLiteral("CurCard"), 1));
        EXPECT_EQ(value, 99u);
    }
    const QString name = QStringLiteral("RoundTripKey");
    QFile::remove(CSettingsKey::keyFilePath(name));
    {
        CSettingsKey key;
        ASSERT_TRUE(key.openForWriting(name));
        EXPECT_TRUE(key.writeDword(QStringLiteral("a\"b\\c"), 0xdeadbeef));
    }
    CSettingsKey key;
    ASSERT_TRUE(key.openForReading(name));
    uint32_t value = 0;
    // The registry ignores the case of value names.
    EXPECT_TRUE(key.readDword(QStringLiteral("A\"B\\C"), value));
    EXPECT_EQ(value, 0xdeadbeefu);
    QFile::remove(CSettingsKey::keyFilePath(name));
}

} // namespace
