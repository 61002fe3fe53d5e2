#include "controls/HexCodec.h"

#include <gtest/gtest.h>

namespace {

QByteArray bytes(std::initializer_list<uint8_t> values)
{
    QByteArray result;
    for (const uint8_t value : values)
        result.append(char(value));
    return result;
}

} // namespace

TEST(HexCodec, EveryByteRoundTripsInBothCases)
{
    for (int value = 0; value < 256; ++value) {
        const uint8_t byte = uint8_t(value);
        const QString pair = ByteToHexPair(byte);
        EXPECT_EQ(pair, QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper());
        EXPECT_EQ(HexPairToByte(pair.toLower().constData(), 2), byte) << value;
    }

    QByteArray all;
    for (int value = 0; value < 256; ++value)
        all.append(char(value));
    const QString text = BytesToHexText(all);
    EXPECT_EQ(text.size(), 512);
    EXPECT_EQ(HexTextToBytes(text), all);
    EXPECT_EQ(HexTextToBytes(text.toLower()), all);
}

TEST(HexCodec, PairsOfOneTwoOrOtherCounts)
{
    const QString text = QStringLiteral("7E5");
    EXPECT_EQ(HexPairToByte(text.constData(), 2), 0x7E);
    EXPECT_EQ(HexPairToByte(text.constData() + 2, 1), 0x05);
    EXPECT_EQ(HexPairToByte(text.constData(), 0), 0);
    EXPECT_EQ(HexPairToByte(text.constData(), 3), 0);
    // A wide character is kept to 8 bits.
    const QChar wide[2] = {QChar(0x4E2D), u'1'};
    EXPECT_EQ(HexPairToByte(wide, 2), uint8_t(0x4E2D * 16 + 1));
}

TEST(HexCodec, TextToBytes)
{
    struct Case {
        const char *text;
        QByteArray expected;
    };
    const Case cases[] = {
        {"", QByteArray()},
        {"ABC", bytes({0xAB, 0x0C})},       // odd trailing digit: a byte of its own
        {"1G", bytes({0x57})},              // 0x10 + 'G' (0x47), not rejected
        {"zz", bytes({uint8_t(0x7A * 16 + 0x7A)})},
    };
    for (const Case &c : cases)
        EXPECT_EQ(HexTextToBytes(QString::fromLatin1(c.text)), c.expected) << c.text;
}

TEST(HexCodec, NoBytesAreNoText)
{
    EXPECT_EQ(BytesToHexText(nullptr, 3), QString());
    EXPECT_EQ(BytesToHexText(QByteArray()), QString());
}
