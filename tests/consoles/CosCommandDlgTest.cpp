#include "QtPrinters.h"
#include "consoles/CConsoleBook.h"
#include "consoles/CCosCommandDlg.h"
#include "consoles/CTipListBox.h"
#include "controls/CHexEdit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

QAbstractButton *button(QWidget *dialog, int id)
{
    return dialog->findChild<QAbstractButton *>(QStringLiteral("id%1").arg(id));
}

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
        EXPECT_EQ(picker.result(), c.result);
        EXPECT_EQ(picker.lineList()->count(), c.linesLeft);
        EXPECT_EQ(book.GetLineCount(), c.linesLeft);
    }
}

// After Clear in the picker the closing console leaves an empty book file; the command typed stays.
TEST(CosCommandDlg, ClearInThePickerEmptiesTheBookFile)
{
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("cpubooks.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("00A40400\r\n0084000008\r\n");
    file.close();
    QWidget console;
    auto *command = new CHexEdit(&console);
    command->setText(QStringLiteral("00a40400"));
    console.show();
    {
        CConsoleBook book(file.fileName());
        QTimer::singleShot(0, [] {
            auto *picker = qobject_cast<CCosCommandDlg *>(QApplication::activeModalWidget());
            ASSERT_NE(picker, nullptr);
            button(picker, CCosCommandDlg::ClearButtonId)->click();
            picker->reject();
        });
        book.RunPicker(&console, command);
        EXPECT_EQ(command->text(), QStringLiteral("00a40400"));
    }
    EXPECT_EQ(QFileInfo(file.fileName()).size(), 0);
    // A picked line is lowered, its ASCII letters only.
    EXPECT_EQ(CConsoleBook::PickedCommandText(QStringLiteral("00A4 zZ\u00C9")), QStringLiteral("00a4 zz\u00C9"));
}

} // namespace
