#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One line of a command book: single-byte text, as the file holds it (the consoles store lower
// case hexadecimal commands, "00a4040000").
using BookLine = QByteArray;

// A console's history of sent commands, oldest first, kept in a plain text file beside the
// program: one command per line, CR LF line ends, no header. Two neighbouring lines are never
// equal and the book keeps at most MaxLines lines, dropping the oldest.
class CCommandBook
{
public:
    // 201, not 200: a line is added after the oldest goes only once the book holds more than 200.
    static constexpr int MaxLines = 201;
    // The reader's line buffer holds 1,024 bytes with its terminating zero.
    static constexpr int MaxLineLength = 1023;

    // Appends the file's lines (through AddLine, so the duplicate and cap rules apply). False
    // and the book unchanged when the file cannot be opened.
    bool LoadBook(const QString &path);
    // Writes every line followed by CR LF. The file is replaced atomically: when the save fails
    // (false) the old file is left as it was.
    bool SaveBook(const QString &path) const;

    // Adds a line at the end unless it equals the last line (exact bytes, case-sensitive); when
    // the book is full the oldest line goes first. An empty line is kept and written as an empty
    // text line, which the next load skips.
    void AddLine(const BookLine &line);
    void ClearBook();

    int GetLineCount() const { return int(m_lines.size()); }
    // The line at `index`, or nullptr when there is none.
    const BookLine *GetLine(int index) const;
    const QList<BookLine> &lines() const { return m_lines; }

    // The lines of a book file's bytes, before the duplicate and cap rules. A line ends at CR or
    // at the end of the bytes; CR, LF and blanks before its first character are skipped, so CR
    // LF pairs and empty lines produce no line, while LF and blanks inside a line belong to it
    // (bare LF line ends read as one long line). The text of a line ends at its first zero byte.
    // Lines longer than MaxLineLength are cut to that length and the rest of the line, up to its
    // CR, is dropped.
    static QList<BookLine> ParseBookText(const QByteArray &bytes);
    // The file's bytes: each line followed by CR LF.
    static QByteArray BookText(const QList<BookLine> &lines);

private:
    QList<BookLine> m_lines;
};
