#include "PageHarness.h"
#include "TestFiles.h"
#include "QtPrinters.h"

#include "base/ProgramDirectory.h"
#include "consoles/CConsoleBook.h"
#include "consoles/CCosCommandDlg.h"
#include "consoles/CCpuCardPage.h"
#include "consoles/CIso14443CpuPage.h"
#include "consoles/CSamPage.h"
#include "consoles/CTipListBox.h"
#include "consoles/CTransceivePage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct ConsoleCase {
    const char *name;
    std::function<CConsolePage *()> open;
    const char *bookFile;
    int pickerButton, clearButton, sendButton;
    const char *sendFunction;
    bool refusesShort; // four bytes are refused with a box; the pass-through refuses only nothing, silently
};

const ConsoleCase Consoles[] = {
    {"Iso14443Cpu", [] { return new CIso14443CpuPage(CardKind::MifarePro, CIso14443CpuPage::dialogTemplate(1280)); },
     "cosbooks.txt", CIso14443CpuPage::PickerButton, CIso14443CpuPage::ClearButton, CIso14443CpuPage::SendButton,
     "rf_cos_command", true},
    {"CpuCard", [] { return new CCpuCardPage(); }, "cpubooks.txt", CCpuCardPage::PickerButton, CCpuCardPage::ClearButton,
     CCpuCardPage::SendButton, "smartcard_cos", true},
    {"Sam", [] { return new CSamPage(CSamPage::dialogTemplate(1280)); }, "samcosbooks.txt", CSamPage::PickerButton,
     CSamPage::ClearButton, CSamPage::SendButton, "rf_sam_cos", true},
    {"Transceive", [] { return new CTransceivePage(); }, "testcmdbooks.txt", CTransceivePage::PickerButton,
     CTransceivePage::ClearButton, CTransceivePage::TransceiveButton, "rf_transceive1", false},
};

// The lines of a list, the selected one marked.
QStringList listed(const CTipListBox *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->item(row)->text() + (list->item(row)->isSelected() ? QStringLiteral(" *") : QString()));
    return texts;
}

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

class ConsoleContractTest : public ::testing::TestWithParam<ConsoleCase>
{
protected:
    void TearDown() override { QFile::remove(ProgramFilePath(QString::fromLatin1(GetParam().bookFile))); }
    PageHarness harness;
};

// One operator session: the book loads with the page, a short command is refused, the picker
// fills the command field, each answer becomes the selected last line, every send is kept once,
// Clear leaves the book, and the book is written back when the page goes.
TEST_P(ConsoleContractTest, KeepsTheCommandBookAndListsEachAnswer)
{
    const ConsoleCase &console = GetParam();
    const QString book = ProgramFilePath(QString::fromLatin1(console.bookFile));
    ASSERT_TRUE(writeBytes(book, "00A4040000\r\n0084000008\r\n"));
    std::unique_ptr<CConsolePage> page(console.open());
    CTipListBox *list = page->resultList();
    EXPECT_TRUE(list->tipEnabled());
    const int field = page->commandFieldId();

    PageHarness::setText(page.get(), field, console.refusesShort ? "00A40400" : "");
    PageHarness::click(page.get(), console.sendButton);
    EXPECT_TRUE(harness.reader().calls().empty());
    EXPECT_EQ(harness.messageBoxes().empty() ? QString() : harness.messageBoxes().back().text,
              console.refusesShort ? "Cos command must be more than 5 bytes!" : "");

    whenPickerOpens([](CCosCommandDlg &picker) {
        CTipListBox *lines = picker.lineList();
        EXPECT_EQ(listed(lines), (QStringList{"00A4040000", "0084000008 *"}));
        QTest::mouseDClick(lines->viewport(), Qt::LeftButton, {}, lines->visualItemRect(lines->item(0)).center());
    });
    PageHarness::click(page.get(), console.pickerButton);
    EXPECT_EQ(PageHarness::text(page.get(), field), "00a4040000");

    // A full answer, a failure that lists nothing, and an empty answer listed as an empty line.
    const QString name = QString::fromLatin1(console.sendFunction);
    harness.reader().script(name, {0, QByteArray::fromHex("6F0884065A54435055019000"), -1, 0});
    harness.reader().script(name, {0x14, {}, -1, 0});
    harness.reader().script(name, {0, QByteArray(), -1, 0});
    PageHarness::click(page.get(), console.sendButton);
    EXPECT_EQ(listed(list), QStringList{"6F0884065A54435055019000 *"});
    PageHarness::click(page.get(), console.sendButton);
    EXPECT_EQ(harness.memo(), QStringLiteral("Error: 14 ,function: %1").arg(name));
    PageHarness::setText(page.get(), field, "00B0000004");
    PageHarness::click(page.get(), console.sendButton);
    EXPECT_EQ(listed(list), (QStringList{"6F0884065A54435055019000", " *"}));
    EXPECT_EQ(harness.reader().callsTo(name).size(), 3u);
    EXPECT_EQ(harness.reader().callsTo(name).back().data, QByteArray::fromHex("00B0000004"));

    PageHarness::click(page.get(), console.clearButton);
    EXPECT_EQ(list->count(), 0);
    page.reset();
    EXPECT_EQ(fileBytes(book), "00A4040000\r\n0084000008\r\n00a4040000\r\n00b0000004\r\n") << "Clear leaves the book";

    // Clear in the picker empties the book: the page leaves an empty file.
    page.reset(console.open());
    whenPickerOpens([](CCosCommandDlg &picker) {
        button(&picker, CCosCommandDlg::ClearButtonId)->click();
        picker.reject();
    });
    PageHarness::click(page.get(), console.pickerButton);
    page.reset();
    EXPECT_EQ(QFileInfo(book).size(), 0);
}

INSTANTIATE_TEST_SUITE_P(Consoles, ConsoleContractTest, ::testing::ValuesIn(Consoles),
                         [](const ::testing::TestParamInfo<ConsoleCase> &info) { return std::string(info.param.name); });

// The picker beside the contract session: Exit and Escape close it and leave the book, Clear
// empties its list and leaves it open.
TEST(CosCommandDlg, ExitAndEscapeCloseItClearEmptiesItsList)
{
    CCommandBook book;
    book.AddLine("00a4040000");
    for (const int pressed : {0, int(CCosCommandDlg::ExitButtonId), int(CCosCommandDlg::ClearButtonId)}) { // 0: Escape
        SCOPED_TRACE(pressed);
        const bool clear = pressed == CCosCommandDlg::ClearButtonId;
        CCosCommandDlg picker(book, nullptr);
        picker.show();
        if (pressed == 0)
            QTest::keyClick(&picker, Qt::Key_Escape);
        else
            button(&picker, pressed)->click();
        EXPECT_EQ(picker.isVisible(), clear);
        EXPECT_EQ(std::pair(picker.lineList()->count(), book.GetLineCount()), std::pair(clear ? 0 : 1, clear ? 0 : 1));
    }
    // A picked line is lowered, its ASCII letters only.
    EXPECT_EQ(CConsoleBook::PickedCommandText(QStringLiteral("00A4 zZ\u00C9")), QStringLiteral("00a4 zz\u00C9"));
}

} // namespace
