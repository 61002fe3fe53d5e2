#include "controls/HexCodec.h"

#include <gtest/gtest.h>

TEST(HexCodec, EveryByteRoundTripsInBothCases)
{
    QByteArray all;
    for (int value = 0; value < 256; ++value) {
        const QString pair = ByteToHexPair(uint8_t(value));
        EXPECT_EQ(pair, QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper());
        EXPECT_EQ(HexPairToByte(pair.toLower().constData(), 2), uint8_t(value)) << value;
        all.append(char(value));
    }
    const QString text = BytesToHexText(all);
    EXPECT_EQ(text.size(), 512);
    EXPECT_EQ(HexTextToBytes(text), all);
    EXPECT_EQ(HexTextToBytes(text.toLower()), all);
    EXPECT_EQ(BytesToHexText(nullptr, 3), QString());
}

// An odd trailing digit is a byte of its own; other characters are not refused but read by their
// codes, kept to 8 bits.
TEST(HexCodec, TextToBytes)
{
    const struct {
        const char *text;
        QByteArray expected;
    } cases[] = {
        {"", QByteArray()},
        {"ABC", QByteArray("\xAB\x0C", 2)},
        {"1G", QByteArray("\x57", 1)},
        {"zz", QByteArray(1, char(0x7A * 16 + 0x7A))},
    };
    for (const auto &c : cases)
        EXPECT_EQ(HexTextToBytes(QString::fromLatin1(c.text)), c.expected) << c.text;
}
