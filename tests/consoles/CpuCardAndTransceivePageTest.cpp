#include "PageHarness.h"
#include "QtPrinters.h"

#include "base/ProgramDirectory.h"
#include "consoles/CCpuCardPage.h"
#include "consoles/CTransceivePage.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

// Reset opens the card first; a failing OpenCard empties the field and stops.
TEST(CpuCardPage, ResetShowsTheAnswerToResetAfterOpeningTheCard)
{
    using enum CCpuCardPage::ControlId;
    PageHarness harness;
    {
        CCpuCardPage page;
        PageHarness::click(&page, ResetButton);
        EXPECT_EQ(harness.reader().trace(), (QStringList{"OpenCard()", "smartcard_rst()"}));
        harness.reader().clearCalls();
        harness.reader().scriptStatus("OpenCard", 0x21);
        PageHarness::click(&page, ResetButton);
        EXPECT_EQ(harness.reader().trace(), QStringList{"OpenCard()"});
        EXPECT_EQ(PageHarness::text(&page, ResetInfoField), "");
    }
    QFile::remove(ProgramFilePath("cpubooks.txt"));
}

TEST(TransceivePage, SetChoosesTheModeAndTransceiveSendsWhateverIsTyped)
{
    using enum CTransceivePage::ControlId;
    PageHarness harness;
    {
        CTransceivePage page;
        EXPECT_TRUE(page.button(TypeBRadio)->isChecked() && page.control(MifareRadio)->isHidden() && page.control(CrcCheck)->isHidden());
        PageHarness::click(&page, SetButton);
        PageHarness::click(&page, Iso15693Radio);
        PageHarness::click(&page, SetButton);
        EXPECT_EQ(harness.reader().trace(), (QStringList{"rf_init_type(66)", "rf_init_type(49)"}));
        EXPECT_EQ(harness.memo(), "Communication successful");

        // One byte is one byte.
        harness.reader().clearCalls();
        PageHarness::setText(&page, SendField, "26");
        PageHarness::click(&page, TransceiveButton);
        EXPECT_EQ(harness.reader().trace(), QStringList{"rf_transceive1(1) 26"});
    }
    QFile::remove(ProgramFilePath("testcmdbooks.txt"));
}

} // namespace
