#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// Byte strings are shown as hexadecimal text, two characters per byte, no separators. The
// program writes upper case; the operator types lower case; both read the same.

// Two characters, high digit first, "0" to "9" and "A" to "F".
QString ByteToHexPair(uint8_t byte);
// "0"-"9" give 0-9, "A"-"F" and "a"-"f" give 10-15; any other character gives its own code.
int HexDigitValue(QChar character);
// "0"-"9", "A"-"F" and "a"-"f": the characters the operator may type into a hex field.
bool IsHexDigit(QChar character);
// count 2: first x 16 + second, kept to 8 bits; count 1: the single digit; otherwise 0.
uint8_t HexPairToByte(const QChar *characters, int count);
// One byte per full pair, plus one byte for a single trailing character ("ABC" -> AB 0C).
QByteArray HexTextToBytes(const QString &text);
// Upper-case text, two characters per byte.
QString BytesToHexText(const uint8_t *bytes, int count);
QString BytesToHexText(const QByteArray &bytes);
