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
        ASSERT_EQ(pair.size(), 2);
        EXPECT_EQ(pair, pair.toUpper()) << value;
        EXPECT_EQ(BytesToHexText(&byte, 1), pair);
        EXPECT_EQ(HexPairToByte(pair.constData(), 2), byte) << pair.toStdString();
        const QString lower = pair.toLower();
        EXPECT_EQ(HexPairToByte(lower.constData(), 2), byte) << lower.toStdString();
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
        {"00", bytes({0x00})},
        {"000AFF", bytes({0x00, 0x0A, 0xFF})},
        {"ABC", bytes({0xAB, 0x0C})},       // odd trailing digit: a byte of its own
        {"12345", bytes({0x12, 0x34, 0x05})},
        {"1G", bytes({0x57})},              // 0x10 + 'G' (0x47), not rejected
        {"a1b2", bytes({0xA1, 0xB2})},
        {"zz", bytes({uint8_t(0x7A * 16 + 0x7A)})},
    };
    for (const Case &c : cases)
        EXPECT_EQ(HexTextToBytes(QString::fromLatin1(c.text)), c.expected) << c.text;
}

TEST(HexCodec, BytesToText)
{
    const uint8_t data[] = {0x00, 0x0A, 0xFF};
    EXPECT_EQ(BytesToHexText(data, 3), QStringLiteral("000AFF"));
    EXPECT_EQ(BytesToHexText(data, 0), QString());
    EXPECT_EQ(BytesToHexText(nullptr, 3), QString());
    EXPECT_EQ(BytesToHexText(QByteArray()), QString());
}
