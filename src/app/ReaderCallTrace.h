#pragma once

#include "reporting/ReaderOperation.h"

#include <QFile>
#include <QString>

// The call trace: while it lives, every reader call the operation flow makes is appended to a
// file as one JSON line, written out at once so that a crash loses nothing:
//
//   {"time":"2026-12-06T20:40:01.123Z","seq":3,"ordinal":22,"name":"rf_M1_read",
//    "args":[0,4,{"out":"00112233445566778899AABBCCDDEEFF"},16],"status":0,"us":412}
//
// Arguments are in parameter order (the device index included): numbers for scalars and for the
// values that length and value pointers hold after the call, {"in":HEX} for the bytes a buffer
// passed in, {"out":HEX} for the bytes an answer buffer holds after the call, "ptr" for a pointer
// of unknown size, null for a null pointer.
class ReaderCallTrace
{
public:
    ReaderCallTrace() = default;
    ~ReaderCallTrace();
    ReaderCallTrace(const ReaderCallTrace &) = delete;
    ReaderCallTrace &operator=(const ReaderCallTrace &) = delete;

    // Opens the file for appending and starts observing; false with errorString() when the file
    // cannot be opened.
    bool start(const QString &path);
    QString errorString() const { return m_file.errorString(); }

    // One record as its JSON line, without the line end.
    static QByteArray jsonLine(const ReaderCallRecord &record, qint64 sequence, const QDateTime &time);

private:
    void write(const ReaderCallRecord &record);

    QFile m_file;
    qint64 m_sequence = 0;
    bool m_observing = false;
    ReaderCallObserver m_previous;
};
