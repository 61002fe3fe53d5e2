#pragma once

#include "consoles/CCommandBook.h"

#include <QByteArray>
#include <QString>

class CHexEdit;
class QWidget;

// The book files of the consoles, in the program's directory (ProgramDataFilePath).
inline constexpr char CosBooksFileName[] = "cosbooks.txt";         // ISO 14443-4 CPU card page
inline constexpr char CpuBooksFileName[] = "cpubooks.txt";         // contact CPU card console
inline constexpr char SamCosBooksFileName[] = "samcosbooks.txt";   // SAM console
inline constexpr char TestCmdBooksFileName[] = "testcmdbooks.txt"; // pass-through console

// What every console does with its command book, written once. A console holds one as a member
// for its whole life:
//   - constructing it loads the book (a missing or unreadable file gives an empty book, not
//     reported);
//   - RecordCommand on every send, after the command bytes are validated and before the reader
//     is called, whatever the call then answers;
//   - RunPicker on the console's picker button: a picked line lands in the command field;
//   - destroying it (with the console's window) writes the book back, every time, also when
//     it is unchanged or empty; a failed save is not reported.
class CConsoleBook
{
public:
    explicit CConsoleBook(const QString &path);
    ~CConsoleBook();
    CConsoleBook(const CConsoleBook &) = delete;
    CConsoleBook &operator=(const CConsoleBook &) = delete;

    // The full path of a book file: in the program's directory, or in the user's data folder
    // when the program's directory cannot be written.
    static QString BookPath(const char *fileName);

    // Stores the command as lower-case hexadecimal text ("00a4040000").
    void RecordCommand(const QByteArray &commandBytes);
    // Opens the picker over `owner`; a double-clicked line is put into `commandField` with its
    // letters "A" to "Z" in lower case.
    void RunPicker(QWidget *owner, CHexEdit *commandField);
    // The picked text as the command field takes it: "A" to "Z" lowered, nothing else changed.
    static QString PickedCommandText(const QString &text);
    // Writes the book now; the destructor does it again.
    bool SaveBook() const;

    CCommandBook &book() { return m_book; }
    const CCommandBook &book() const { return m_book; }
    const QString &path() const { return m_path; }

private:
    QString m_path;
    CCommandBook m_book;
};
