#pragma once

#include <QByteArray>

#include <cstdint>

// The bytes of a byte array as the C interfaces take them (the reader functions, the hex codec).
inline const uint8_t *BytePointer(const QByteArray &bytes)
{
    return reinterpret_cast<const uint8_t *>(bytes.constData());
}

// A copy of bytes a C interface filled in, as a byte array.
inline QByteArray ByteArrayOf(const uint8_t *bytes, qsizetype count)
{
    return QByteArray(reinterpret_cast<const char *>(bytes), count);
}
