#include "QtPrinters.h"
#include "consoles/CConsoleBook.h"
#include "consoles/CCosCommandDlg.h"
#include "consoles/CTipListBox.h"
#include "controls/CHexEdit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

QAbstractButton *button(QWidget *dialog, int id)
{
    return dialog->findChild<QAbstractButton *>(QStringLiteral("id%1").arg(id));
}

// Runs `operate` on the picker once it is up, inside its modal loop.
void whenPickerOpens(const std::function<void(CCosCommandDlg &)> &operate)
{
    QTimer::singleShot(0, [operate] {
        auto *picker = qobject_cast<CCosCommandDlg *>(QApplication::activeModalWidget());
        ASSERT_NE(picker, nullptr);
        operate(*picker);
    });
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

// After "Clear" in the picker the closing console leaves an empty book file.
TEST(CosCommandDlg, ClearInThePickerEmptiesTheBookFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("cpubooks.txt"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("00A40400\r\n0084000008\r\n");
    }
    QWidget console;
    auto *command = new CHexEdit(&console);
    console.show();
    {
        CConsoleBook book(path);
        command->setText(QStringLiteral("00a40400"));
        // Only ASCII letters are lowered.
        EXPECT_EQ(CConsoleBook::PickedCommandText(QStringLiteral("00A4 zZ\u00C9")), QStringLiteral("00a4 zz\u00C9"));
        whenPickerOpens([](CCosCommandDlg &picker) {
            button(&picker, CCosCommandDlg::ClearButtonId)->click();
            picker.reject();
        });
        book.RunPicker(&console, command);
        EXPECT_EQ(command->text(), QStringLiteral("00a40400"));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.size(), 0);
}

} // namespace
