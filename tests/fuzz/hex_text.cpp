// Hexadecimal text as the operator types or pastes it into a field, decoded to bytes and back.
#include "FuzzHarness.h"

#include "controls/HexCodec.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray bytes = HexTextToBytes(text);
    FUZZ_CHECK(bytes.size() == (text.size() + 1) / 2);

    // Bytes shown as text read back as the same bytes, in upper case pairs.
    const QString shown = BytesToHexText(bytes);
    FUZZ_CHECK(shown.size() == 2 * bytes.size());
    FUZZ_CHECK(HexTextToBytes(shown) == bytes);
    FUZZ_CHECK(BytesToHexText(reinterpret_cast<const uint8_t *>(data), int(size)).size() == qsizetype(2 * size));

    // Text of hex digits alone survives the round trip, up to case, when its length is even.
    const bool allDigits = std::all_of(text.begin(), text.end(), [](QChar c) { return HexDigitValue(c) < 16 && c.isLetterOrNumber(); });
    if (allDigits && text.size() % 2 == 0)
        FUZZ_CHECK(shown == text.toUpper());
    for (qsizetype i = 0; i + 1 < text.size(); i += 2)
        FUZZ_CHECK(HexPairToByte(text.constData() + i, 2) == uint8_t(bytes[i / 2]));
    return 0;
}
