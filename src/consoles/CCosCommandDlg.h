#pragma once

#include <QDialog>

#include <functional>

class CCommandBook;
class CTipListBox;

// The COS command picker: a modal dialog listing a command book, newest line selected. A
// double-click hands the line to the owner and closes the picker; "Clear" empties the book
// (written by its console when the console closes); "Exit", the close box and Escape close it
// without touching the book.
class CCosCommandDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int TemplateId = 137;
    static constexpr int LineListId = 1062;
    static constexpr int ClearButtonId = 1066;
    static constexpr int ExitButtonId = 1063;
    // Item height of the picker's list.
    static constexpr int ItemHeight_px = 18;

    using PickedHandler = std::function<void(const QString &text)>;

    CCosCommandDlg(CCommandBook &book, QWidget *owner);

    // Runs the picker modally over `owner`; `picked` gets the double-clicked line and has
    // handled it before the picker closes.
    static void RunPicker(CCommandBook &book, QWidget *owner, const PickedHandler &picked);

    CTipListBox *lineList() const { return m_lines; }

signals:
    void commandPicked(const QString &text);

private:
    CCommandBook &m_book;
    CTipListBox *m_lines = nullptr;
};
