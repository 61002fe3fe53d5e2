// A console's command book file as the program finds it beside itself: read, saved, read again.
#include "FuzzHarness.h"

#include "consoles/CCommandBook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<BookLine> lines = CCommandBook::ParseBookText(bytes);
    for (const BookLine &line : lines) {
        FUZZ_CHECK(!line.isEmpty() && line.size() <= CCommandBook::MaxLineLength);
        FUZZ_CHECK(!line.contains('\r') && !line.contains('\0'));
    }
    // The text the program writes reads back as the same lines.
    FUZZ_CHECK(CCommandBook::ParseBookText(CCommandBook::BookText(lines)) == lines);

    const QString file = QString::fromStdString(fuzzharness::ScratchFile("CommandBook.txt", data, size));
    CCommandBook book;
    FUZZ_CHECK(book.LoadBook(file));
    FUZZ_CHECK(book.GetLineCount() <= CCommandBook::MaxLines);
    for (int i = 1; i < book.GetLineCount(); ++i)
        FUZZ_CHECK(*book.GetLine(i) != *book.GetLine(i - 1));
    FUZZ_CHECK(book.SaveBook(file));
    CCommandBook reread;
    FUZZ_CHECK(reread.LoadBook(file));
    FUZZ_CHECK(reread.lines() == book.lines());
    return 0;
}
