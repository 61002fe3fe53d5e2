#pragma once

#include "base/BytePointer.h"
#include "consoles/CConsoleBook.h"
#include "pages/CCardPage.h"
#include "reporting/ReaderOperation.h"

#include <QByteArray>

#include <array>
#include <cstdint>

class CTipListBox;

// The controls through which a console keeps its side of the command-book contract.
struct ConsoleControls {
    const char *bookFileName; // CosBooksFileName, CpuBooksFileName, ...
    int commandField;         // hex field of the command to send
    int pickerButton;         // small button that opens the COS command picker
    int resultList;           // Custom placeholder that becomes the CTipListBox
    int clearButton;          // empties the result list, never the book
};

// The base of the four command consoles: the card page with its command book (loaded now,
// written back when the page goes), the picker on its button, the result list with the
// whole-line tip, and the Clear button. A console adds its template, its reset and its send.
class CConsolePage : public CCardPage
{
    Q_OBJECT
public:
    CConsolePage(const DialogTemplate &dialogTemplate, const ConsoleControls &controls, QWidget *parent);

    CConsoleBook &book() { return m_book; }
    CTipListBox *resultList() const { return m_results; }
    int commandFieldId() const { return m_commandField; }

protected:
    // The command bytes as typed.
    QByteArray commandBytes() const;
    // On every send, after the command passed the console's checks and before the reader.
    void recordCommand(const QByteArray &command) { m_book.RecordCommand(command); }
    // One answer as the newest, selected line of the result list.
    void listAnswer(const uint8_t *answer, int length);
    void refuseShortCommand();

    // Send: the command field, at least `minimumBytes` long (CosCommandTooShort otherwise), kept in the
    // book and sent through F (command, its length, answer, answer length); the answer is listed
    // and `successText` reported.
    template <ReaderFunction F>
    void sendCommand(int minimumBytes, const QString &successText)
    {
        ReaderOperation op;
        if (!op.requirePortOpen())
            return;
        const QByteArray command = commandBytes();
        if (command.size() < minimumBytes) {
            refuseShortCommand();
            return;
        }
        recordCommand(command);
        AnswerBuffer answer{};
        uint8_t length = 0;
        if (!op.call<F>(0, BytePointer(command), int32_t(command.size()),
                        answer.data(), &length))
            return;
        listAnswer(answer.data(), length);
        op.succeed(successText);
    }

private:
    CConsoleBook m_book;
    CTipListBox *m_results;
    int m_commandField;
};
