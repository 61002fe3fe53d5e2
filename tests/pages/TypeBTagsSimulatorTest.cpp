#include "SimulatedPageTest.h"
#include "QtPrinters.h"

#include "pages/CAt88rf020Page.h"
#include "pages/CSr176Page.h"
#include "pages/CSrix4kPage.h"

#include <gtest/gtest.h>

namespace {

// The AT88RF020, SR176 and SRIX4K pages against the simulated reader's own field.
class TypeBTagsSimulatorTest : public SimulatedPageTest
{
protected:
    void SetUp() override { start(nullptr); }
};

TEST_F(TypeBTagsSimulatorTest, At88rf020ReadsWritesLocksAndCounts)
{
    using enum CAt88rf020Page::ControlId;
    open<CAt88rf020Page>(1024);
    click(ReqBButton);
    EXPECT_EQ(text(PupiField), "A0200001");
    click(ReadButton);
    EXPECT_EQ((QStringList{text(Page0PupiField), text(CAt88rf020Page::pageField(4))}),
              (QStringList{"A0200001", hexOf("AT88RF02")}));

    setText(PasswordField, "ffffffffffffffff");
    click(CheckButton);
    choose(PageList, "9");
    setText(CAt88rf020Page::pageField(9), "c0ffee");
    click(WriteButton);
    setText(LockField, "00020000"); // page 9
    click(LockButton);
    EXPECT_EQ(text(Page0LockField), "00020000");

    click(ReqBButton);
    setText(SignatureField, "a1a2a3a4a5a6");
    click(CountButton);
    EXPECT_EQ((QStringList{text(Page2SignatureField), text(Page2CounterField)}), (QStringList{"A1A2A3A4A5A6", "0001"}));
    click(ReadButton);
    EXPECT_EQ(text(CAt88rf020Page::pageField(9)), "C0FFEE0000000000");
    click(DeselectButton);
}

TEST_F(TypeBTagsSimulatorTest, Sr176ReadsWritesAndLocks)
{
    using enum CSr176Page::ControlId;
    open<CSr176Page>();
    click(RequestButton);
    EXPECT_EQ(text(ChipIdField), "76");
    click(ReadButton);
    EXPECT_EQ((QStringList{text(FirstBlockField), text(FirstBlockField + 4)}), (QStringList{"D002", hexOf("SR")}));

    choose(BlockList, "6");
    setText(FirstBlockField + 6, "beef");
    click(WriteButton);
    setText(LockRegisterField, "08"); // blocks 6 and 7
    click(LockButton);
    click(RequestButton);
    click(ReadButton);
    EXPECT_EQ((QStringList{text(FirstBlockField + 6), text(FirstBlockField + 15)}), (QStringList{"BEEF", "7608"}));
}

TEST_F(TypeBTagsSimulatorTest, Srix4kReadsItsUidAndBlocksWritesAndLocks)
{
    using enum CSrix4kPage::ControlId;
    open<CSrix4kPage>();
    click(RequestButton);
    click(ReadUidButton);
    EXPECT_EQ(text(UidField), "D00201A1B2C3D44B");
    click(ReadButton);
    EXPECT_EQ((QStringList{text(FirstBlockField + 16), text(FirstBlockField + 5), harness.memo()}),
              (QStringList{hexOf("SRIX"), "FFFFFFFF", "OK"}));

    choose(BlockList, "9");
    setText(FirstBlockField + 9, "01020304");
    click(WriteButton);
    EXPECT_EQ(harness.memo(), "OK");
    setText(LockRegisterField, "02"); // block 9
    click(LockButton);
    EXPECT_EQ(harness.memo(), "OK");
}

} // namespace
