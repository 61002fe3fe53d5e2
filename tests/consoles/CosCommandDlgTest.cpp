#include "QtPrinters.h"
#include "consoles/CConsoleBook.h"
#include "consoles/CCosCommandDlg.h"
#include "consoles/CTipListBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

QAbstractButton *button(QWidget *dialog, int id)
{
    return dialog->findChild<QAbstractButton *>(QStringLiteral("id%1").arg(id));
}

// The console's contract test holds picking a line and the empty book file after Clear.
TEST(CosCommandDlg, ExitAndEscapeLeaveTheBookClearEmptiesIt)
{
    CCommandBook book;
    book.AddLine("00a4040000");
    const struct {
        int button; // 0: Escape
        QDialog::DialogCode result;
        int linesLeft;
    } cases[] = {{0, QDialog::Rejected, 1}, {CCosCommandDlg::ExitButtonId, QDialog::Accepted, 1},
                 {CCosCommandDlg::ClearButtonId, QDialog::Rejected, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.button);
        CCosCommandDlg picker(book, nullptr);
        picker.show();
        if (c.button == 0)
            QTest::keyClick(&picker, Qt::Key_Escape);
        else
            button(&picker, c.button)->click();
        EXPECT_EQ(picker.isVisible(), c.button == CCosCommandDlg::ClearButtonId) << "Clear leaves the picker open";
        EXPECT_EQ(std::tuple(picker.result(), picker.lineList()->count(), book.GetLineCount()),
                  std::tuple(int(c.result), c.linesLeft, c.linesLeft));
    }
    // A picked line is lowered, its ASCII letters only.
    EXPECT_EQ(CConsoleBook::PickedCommandText(QStringLiteral("00A4 zZ\u00C9")), QStringLiteral("00a4 zz\u00C9"));
}

} // namespace
