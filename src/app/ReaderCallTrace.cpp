#include "app/ReaderCallTrace.h"

#include "base/BytePointer.h"

#include <QDateTime>

ReaderCallTrace::~ReaderCallTrace()
{
    if (m_observing)
        SetReaderCallObserver(std::move(m_previous));
}

bool ReaderCallTrace::start(const QString &path)
{
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return false;
    m_previous = SetReaderCallObserver([this](const ReaderCallRecord &record) { write(record); });
    m_observing = true;
    return true;
}

QByteArray ReaderCallTrace::jsonLine(const ReaderCallRecord &record, qint64 sequence, const QDateTime &time)
{
    QByteArray arguments;
    for (const ReaderCallArgument &argument : record.arguments) {
        if (!arguments.isEmpty())
            arguments += ',';
        using Kind = ReaderCallArgument::Kind;
        if (!argument.present) {
            arguments += "null";
            continue;
        }
        const QByteArray hex = ByteArrayOf(argument.bytes.data(), qsizetype(argument.bytes.size()))
                                   .toHex()
                                   .toUpper();
        switch (argument.kind) {
        case Kind::Number: arguments += QByteArray::number(argument.number); break;
        case Kind::BytesIn: arguments += "{\"in\":\"" + hex + "\"}"; break;
        case Kind::BytesOut: arguments += "{\"out\":\"" + hex + "\"}"; break;
        case Kind::Pointer: arguments += "\"ptr\""; break;
        }
    }
    const auto microseconds = std::chrono::duration_cast<std::chrono::microseconds>(record.duration).count();
    // Function names are plain identifiers from the list: nothing in them needs escaping.
    return "{\"time\":\"" + time.toUTC().toString(Qt::ISODateWithMs).toLatin1() + "\",\"seq\":"
           + QByteArray::number(sequence) + ",\"ordinal\":" + QByteArray::number(record.ordinal) + ",\"name\":\""
           + QByteArray(record.name) + "\",\"args\":[" + arguments + "],\"status\":"
           + QByteArray::number(record.status) + ",\"us\":" + QByteArray::number(qint64(microseconds)) + "}";
}

void ReaderCallTrace::write(const ReaderCallRecord &record)
{
    m_file.write(jsonLine(record, ++m_sequence, QDateTime::currentDateTimeUtc()) + '\n');
    m_file.flush();
    if (m_previous)
        m_previous(record);
}
