#include "controls/HexCodec.h"

#include <gtest/gtest.h>

// Both cases are digits; an odd trailing digit is a byte of its own; other characters are not
// refused but read by their codes, kept to 8 bits. The fuzz target holds the round trip of every
// byte.
TEST(HexCodec, TextToBytes)
{
    const struct {
        const char *text;
        QByteArray expected;
    } cases[] = {
        {"", QByteArray()},
        {"09afAF", QByteArray("\x09\xAF\xAF", 3)},
        {"ABC", QByteArray("\xAB\x0C", 2)},
        {"1G", QByteArray("\x57", 1)},
        {"zz", QByteArray(1, char(0x7A * 16 + 0x7A))},
    };
    for (const auto &c : cases)
        EXPECT_EQ(HexTextToBytes(QString::fromLatin1(c.text)), c.expected) << c.text;
}
