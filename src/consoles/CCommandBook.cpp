#include "consoles/CCommandBook.h"

#include <QFile>
#include <QSaveFile>

namespace {

constexpr char CarriageReturn = '\r';
constexpr char LineFeed = '\n';
constexpr char Blank = ' ';

bool skippedBeforeLine(char byte)
{
    return byte == CarriageReturn || byte == LineFeed || byte == Blank;
}

} // namespace

bool CCommandBook::LoadBook(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<BookLine> read = ParseBookText(file.readAll());
    for (const BookLine &line : read)
        AddLine(line);
    return true;
}

bool CCommandBook::SaveBook(const QString &path) const
{
    // QSaveFile writes beside the old file and renames over it only when everything is written,
    // so a failed save never leaves a truncated book behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray text = BookText(m_lines);
    // The write is buffered and commit() does not notice when flushing the buffer fails (a
    // full disk, the file-size limit): flush here and give up on any error. An uncommitted
    // QSaveFile discards its temporary file when it goes.
    if (file.write(text) != text.size() || !file.flush() || file.error() != QFileDevice::NoError)
        return false;
    return file.commit();
}

void CCommandBook::AddLine(const BookLine &line)
{
    if (!m_lines.isEmpty() && m_lines.constLast() == line)
        return;
    if (m_lines.size() >= MaxLines)
        m_lines.removeFirst();
    m_lines.append(line);
}

void CCommandBook::ClearBook()
{
    m_lines.clear();
}

const BookLine *CCommandBook::GetLine(int index) const
{
    if (index < 0 || index >= m_lines.size())
        return nullptr;
    return &m_lines.at(index);
}

QList<BookLine> CCommandBook::ParseBookText(const QByteArray &bytes)
{
    QList<BookLine> lines;
    qsizetype position = 0;
    const qsizetype size = bytes.size();
    while (position < size) {
        while (position < size && skippedBeforeLine(bytes.at(position)))
            ++position;
        if (position >= size)
            break;
        qsizetype end = bytes.indexOf(CarriageReturn, position);
        if (end < 0)
            end = size;
        BookLine line = bytes.mid(position, end - position);
        position = end + 1;

        const qsizetype zero = line.indexOf('\0');
        if (zero >= 0)
            line.truncate(zero);
        // An over-long line is cut rather than split, so that its tail never turns into a
        // command of its own.
        if (line.size() > MaxLineLength)
            line.truncate(MaxLineLength);
        // A line that a zero byte empties is skipped; it does not end the book, whose later
        // lines would otherwise be lost at the next save.
        if (!line.isEmpty())
            lines.append(line);
    }
    return lines;
}

QByteArray CCommandBook::BookText(const QList<BookLine> &lines)
{
    QByteArray text;
    for (const BookLine &line : lines) {
        text.append(line);
        text.append("\r\n");
    }
    return text;
}
