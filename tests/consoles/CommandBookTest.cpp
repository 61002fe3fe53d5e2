#include "QtPrinters.h"
#include "TestFiles.h"
#include "consoles/CCommandBook.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Lines = QList<QByteArray>;

Lines loaded(const QByteArray &bytes)
{
    CCommandBook book;
    for (const QByteArray &line : CCommandBook::ParseBookText(bytes))
        book.AddLine(line);
    return book.lines();
}

TEST(CommandBook, ReadsTheLinesOfABookFile)
{
    const QByteArray longLine(1500, 'a');
    const struct {
        const char *name;
        QByteArray file;
        Lines lines;
    } cases[] = {
        {"empty and blank lines skipped, equal neighbours collapse case-sensitively",
         "00A4040000\r\n\r\n  00a4040000\r\n00a4040000\r\n", {"00A4040000", "00a4040000"}},
        {"last line without CR LF", "0084000008\r\n00b0", {"0084000008", "00b0"}},
        {"bare LF line ends read as one line", "0011\n0022\n", {"0011\n0022\n"}},
        {"blank inside a line belongs to it", " \n\r 00 11 \r", {"00 11 "}},
        {"only CR, LF and blanks", "\r\n \r\n\n  ", {}},
        {"over-long line cut at 1023, its tail dropped", longLine + "\r\n0011\r\n",
         {QByteArray(1023, 'a'), "0011"}},
        {"a line ends at its first zero byte", QByteArray("00a4\0zz\r\n0011", 13), {"00a4", "0011"}},
        {"a line starting with a zero byte does not end the book", QByteArray("\0abc\r\n0011\r\n", 12), {"0011"}},
        {"A, B, A kept", "A\r\nB\r\nA\r\n", {"A", "B", "A"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(loaded(c.file), c.lines) << c.name;
}

// 202 different sends keep 201 lines from the second on; a longer file keeps its last 201.
TEST(CommandBook, KeepsTheNewest201Lines)
{
    CCommandBook book;
    QByteArray file;
    for (int i = 0; i < 300; ++i) {
        if (i < 202)
            book.AddLine(QByteArray::number(i));
        file += QByteArray::number(i) + "\r\n";
    }
    ASSERT_EQ(book.GetLineCount(), 201);
    EXPECT_EQ(*book.GetLine(0), "1");
    EXPECT_TRUE(book.GetLine(201) == nullptr && book.GetLine(-1) == nullptr);
    const Lines lines = loaded(file);
    ASSERT_EQ(lines.size(), 201);
    EXPECT_EQ(lines.first(), "99");
}

// The console's load and save are in its contract test; here an empty line, written but never
// read back, and a load that adds to the lines held.
TEST(CommandBook, SavesEmptyLinesAndLoadsAfterTheLinesHeld)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("cpubooks.txt"));
    CCommandBook book;
    for (const char *line : {"00a4040000", "", "00B0000010"})
        book.AddLine(line);
    ASSERT_TRUE(book.SaveBook(path));
    EXPECT_EQ(fileBytes(path), "00a4040000\r\n\r\n00B0000010\r\n");
    CCommandBook again;
    again.AddLine("00B0000010");
    ASSERT_TRUE(again.LoadBook(path));
    EXPECT_EQ(again.lines(), (Lines{"00B0000010", "00a4040000", "00B0000010"}));
    EXPECT_FALSE(again.LoadBook(folder.filePath(QStringLiteral("missing.txt"))));
    EXPECT_EQ(again.GetLineCount(), 3);
}

} // namespace
