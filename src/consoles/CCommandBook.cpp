#include "consoles/CCommandBook.h"

#include "base/AtomicSave.h"

#include <QFile>
#include <QFileInfo>

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
    // Only a regular file: opening a pipe of that name would wait for a writer forever.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    const QList<BookLine> read = ParseBookText(file.readAll());
    for (const BookLine &line : read)
        AddLine(line);
    return true;
}

bool CCommandBook::SaveBook(const QString &path) const
{
    return SaveFileAtomically(path, BookText(m_lines));
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
