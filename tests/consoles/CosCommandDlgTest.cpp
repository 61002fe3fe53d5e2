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

QStringList listed(const CTipListBox *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->item(row)->text() + (list->item(row)->isSelected() ? QStringLiteral(" *") : QString()));
    return texts;
}

void doubleClick(CTipListBox *list, int row)
{
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
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

TEST(CosCommandDlg, ListsTheBookAndHandsOverTheDoubleClickedLine)
{
    CCommandBook book;
    for (const char *line : {"00a4040000", "0084000008", "00B0000010"})
        book.AddLine(line);
    CCosCommandDlg picker(book, nullptr);
    EXPECT_EQ(picker.windowTitle(), QStringLiteral("COS Command"));
    EXPECT_EQ(button(&picker, 1066)->text(), QStringLiteral("Clear"));
    EXPECT_EQ(button(&picker, 1063)->text(), QStringLiteral("Exit"));
    CTipListBox *list = picker.findChild<CTipListBox *>(QStringLiteral("id1062"));
    ASSERT_EQ(list, picker.lineList());
    EXPECT_EQ(list->itemHeight(), 18);
    EXPECT_FALSE(list->tipEnabled());
    EXPECT_EQ(listed(list), (QStringList{"00a4040000", "0084000008", "00B0000010 *"}));

    QStringList picked;
    QObject::connect(&picker, &CCosCommandDlg::commandPicked, [&](const QString &text) {
        EXPECT_TRUE(picker.isVisible()) << "the owner handles the line before the picker closes";
        picked.append(text);
    });
    picker.show();
    doubleClick(list, 1);
    EXPECT_EQ(picked, QStringList{QStringLiteral("0084000008")});
    EXPECT_EQ(picker.result(), QDialog::Accepted);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(book.GetLineCount(), 3);
}

TEST(CosCommandDlg, ExitAndEscapeLeaveTheBookClearEmptiesIt)
{
    CCommandBook book;
    book.AddLine("00a4040000");
    const struct {
        int button; // 0: Escape
        QDialog::DialogCode result;
        int linesLeft;
    } cases[] = {{0, QDialog::Rejected, 1}, {1063, QDialog::Accepted, 1}, {1066, QDialog::Rejected, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.button);
        CCosCommandDlg picker(book, nullptr);
        picker.show();
        if (c.button == 0)
            QTest::keyClick(&picker, Qt::Key_Escape);
        else
            button(&picker, c.button)->click();
        EXPECT_EQ(picker.isVisible(), c.button == 1066) << "Clear leaves the picker open";
        EXPECT_EQ(picker.result(), c.result);
        EXPECT_EQ(picker.lineList()->count(), c.linesLeft);
        EXPECT_EQ(book.GetLineCount(), c.linesLeft);
    }
}

// A console's picker button: the picked line lands in the command field in lower case; after
// "Clear" the closing console leaves an empty book file.
TEST(CosCommandDlg, ConsolePickerFillsTheCommandFieldAndClearEmptiesTheFile)
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
        whenPickerOpens([](CCosCommandDlg &picker) { doubleClick(picker.lineList(), 0); });
        book.RunPicker(&console, command);
        EXPECT_EQ(command->text(), QStringLiteral("00a40400"));
        // Only ASCII letters are lowered.
        EXPECT_EQ(CConsoleBook::PickedCommandText(QStringLiteral("00A4 zZ\u00C9")), QStringLiteral("00a4 zz\u00C9"));

        whenPickerOpens([](CCosCommandDlg &picker) { button(&picker, 1066)->click(); picker.reject(); });
        book.RunPicker(&console, command);
        EXPECT_EQ(command->text(), QStringLiteral("00a40400"));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.size(), 0);
}

} // namespace
