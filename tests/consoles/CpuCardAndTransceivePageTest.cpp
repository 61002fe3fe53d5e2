#include "PageHarness.h"
#include "QtPrinters.h"

#include "base/ProgramDirectory.h"
#include "consoles/CCpuCardPage.h"
#include "consoles/CTipListBox.h"
#include "consoles/CTransceivePage.h"
#include "reader/ReaderApi.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(CpuCardPage, ResetShowsTheAnswerToResetAndSendRefusesShortCommands)
{
    PageHarness harness;
    QFile::remove(ProgramFilePath("cpubooks.txt"));
    {
        using enum CCpuCardPage::ControlId;
        CCpuCardPage page;
        const auto click = [&page](int id) { PageHarness::click(&page, id); };
        click(ResetButton);
        EXPECT_EQ(harness.reader().trace(), (QStringList{"OpenCard()", "smartcard_rst()"}));

        // A failing OpenCard empties the field and stops.
        harness.reader().clearCalls();
        harness.reader().scriptStatus("OpenCard", 0x21);
        click(ResetButton);
        EXPECT_EQ(harness.reader().trace(), QStringList{"OpenCard()"});
        EXPECT_EQ(PageHarness::text(&page, ResetInfoField), "");

        // Four bytes are refused; an odd trailing digit makes a fifth byte.
        harness.reader().clearCalls();
        PageHarness::setText(&page, CommandField, "00A40400");
        click(SendButton);
        ASSERT_EQ(harness.messageBoxes().size(), 1u);
        PageHarness::setText(&page, CommandField, "00A404000");
        click(SendButton);
        EXPECT_EQ(harness.reader().trace(), QStringList{"smartcard_cos(5) 00A4040000"});
        EXPECT_EQ(page.book().book().GetLineCount(), 1);
    }
    QFile::remove(ProgramFilePath("cpubooks.txt"));
}

TEST(TransceivePage, SetChoosesTheModeAndTransceiveSendsWhateverIsTyped)
{
    PageHarness harness;
    QFile::remove(ProgramFilePath("testcmdbooks.txt"));
    {
        using enum CTransceivePage::ControlId;
        CTransceivePage page;
        const auto click = [&page](int id) { PageHarness::click(&page, id); };
        EXPECT_TRUE(page.button(TypeBRadio)->isChecked());
        EXPECT_TRUE(page.control(MifareRadio)->isHidden());
        EXPECT_TRUE(page.control(CrcCheck)->isHidden());
        click(SetButton);
        click(Iso15693Radio);
        click(SetButton);
        EXPECT_EQ(harness.reader().trace(), (QStringList{"rf_init_type(66)", "rf_init_type(49)"}));
        EXPECT_EQ(harness.memo(), "Communication successful");

        // An empty field does nothing at all.
        harness.reader().clearCalls();
        harness.infoBar().showMemo(QString());
        click(TransceiveButton);
        EXPECT_TRUE(harness.reader().calls().empty());
        EXPECT_EQ(harness.memo(), "");
        EXPECT_EQ(page.book().book().GetLineCount(), 0);

        // One byte is one byte; without the function in the library nothing is called.
        harness.reader().script("rf_transceive1", {0, QByteArray::fromHex("0400"), -1, 0});
        PageHarness::setText(&page, SendField, "26");
        click(TransceiveButton);
        EXPECT_EQ(harness.reader().trace(), QStringList{"rf_transceive1(1) 26"});
        EXPECT_EQ(page.resultList()->item(0)->text(), "0400");
        ReaderApi.rf_transceive1 = nullptr;
        PageHarness::setText(&page, SendField, "260100");
        click(TransceiveButton);
        EXPECT_EQ(harness.reader().calls().size(), 1u);
        EXPECT_EQ(harness.memo(), "Error: rf_transceive1 is not in the reader library");
        EXPECT_EQ(page.resultList()->count(), 1);
        EXPECT_EQ(page.book().book().GetLineCount(), 2);
    }
    QFile::remove(ProgramFilePath("testcmdbooks.txt"));
}

} // namespace
