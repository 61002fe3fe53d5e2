#include "controls/HexCodec.h"

#include "base/BytePointer.h"

namespace {

constexpr char UpperDigits[] = "0123456789ABCDEF";

} // namespace

QString ByteToHexPair(uint8_t byte)
{
    const QChar pair[2] = {QLatin1Char(UpperDigits[byte >> 4]), QLatin1Char(UpperDigits[byte & 0x0F])};
    return QString(pair, 2);
}

bool IsHexDigit(QChar character)
{
    const char16_t code = character.unicode();
    return (code >= u'0' && code <= u'9') || (code >= u'a' && code <= u'f') || (code >= u'A' && code <= u'F');
}

int HexDigitValue(QChar character)
{
    const char16_t code = character.unicode();
    if (code >= u'0' && code <= u'9')
        return code - u'0';
    if (code >= u'A' && code <= u'F')
        return code - u'A' + 10;
    if (code >= u'a' && code <= u'f')
        return code - u'a' + 10;
    return code;
}

uint8_t HexPairToByte(const QChar *characters, int count)
{
    if (count == 2)
        return uint8_t(HexDigitValue(characters[0]) * 16 + HexDigitValue(characters[1]));
    if (count == 1)
        return uint8_t(HexDigitValue(characters[0]));
    return 0;
}

QByteArray HexTextToBytes(const QString &text)
{
    const int length = int(text.size());
    QByteArray bytes;
    bytes.reserve(length / 2 + 1);
    for (int i = 0; i < length / 2; ++i)
        bytes.append(char(HexPairToByte(text.constData() + 2 * i, 2)));
    if (length % 2 != 0)
        bytes.append(char(HexPairToByte(text.constData() + length - 1, 1)));
    return bytes;
}

QString BytesToHexText(const uint8_t *bytes, int count)
{
    QString text;
    if (bytes == nullptr || count <= 0)
        return text;
    text.resize(qsizetype(count) * 2);
    QChar *out = text.data();
    for (int i = 0; i < count; ++i) {
        *out++ = QLatin1Char(UpperDigits[bytes[i] >> 4]);
        *out++ = QLatin1Char(UpperDigits[bytes[i] & 0x0F]);
    }
    return text;
}

QString BytesToHexText(const QByteArray &bytes)
{
    return BytesToHexText(BytePointer(bytes), int(bytes.size()));
}
