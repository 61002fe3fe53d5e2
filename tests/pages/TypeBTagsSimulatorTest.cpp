#include "SimulatedPageTest.h"
#include "QtPrinters.h"

#include "controls/CHexEdit.h"
#include "pages/CAt88rf020Page.h"
#include "pages/CSr176Page.h"
#include "pages/CSrix4kPage.h"
#include "reader/ReaderLibrary.h"
#include "reader/RuntimeState.h"

#include <QFile>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace {

// The AT88RF020, SR176 and SRIX4K pages against the simulated reader's own field.
class TypeBTagsSimulatorTest : public SimulatedPageTest
{
protected:
    void SetUp() override { start(nullptr); }
};

TEST_F(TypeBTagsSimulatorTest, At88rf020WritesCountsAndIsRefusedOnALockedPage)
{
    open<CAt88rf020Page>(1024);
    click(1011);
    EXPECT_EQ(text(1006), "A0200001");
    click(1044);
    EXPECT_EQ(harness.memo(), "OK");
    EXPECT_EQ(text(1200), "A0200001");
    EXPECT_EQ(text(1207), hexOf("AT88RF02"));

    setText(1014, "ffffffffffffffff");
    click(1012);
    EXPECT_EQ(harness.memo(), "OK");
    choose(1045, "9");
    setText(1212, "c0ffee");
    click(1046);
    EXPECT_EQ(harness.memo(), "OK");

    setText(1015, "00020000"); // page 9
    click(1013);
    EXPECT_EQ(harness.memo(), "OK");
    EXPECT_EQ(text(1201), "00020000");
    click(1046);
    EXPECT_EQ(harness.memo(), "Error: 4 ,function: rf_at020_write");

    click(1011);
    setText(1016, "a1a2a3a4a5a6");
    click(1043);
    EXPECT_EQ(text(1204), "A1A2A3A4A5A6");
    EXPECT_EQ(text(1205), "0001");
    click(1044);
    EXPECT_EQ(text(1212), "C0FFEE0000000000");
    click(1047);
    EXPECT_EQ(harness.memo(), "OK");
    click(1044);
    EXPECT_EQ(harness.memo(), "Error: 1 ,function: Read Page: 0 error!");
}

TEST_F(TypeBTagsSimulatorTest, Sr176ReadsWritesAndIsRefusedAfterItsLock)
{
    open<CSr176Page>();
    click(1116);
    EXPECT_EQ(text(1115), "76");
    click(1118);
    EXPECT_EQ(harness.memo(), "OK");
    EXPECT_EQ(text(1099), "D002");
    EXPECT_EQ(text(1103), hexOf("SR"));

    choose(1117, "6");
    setText(1105, "beef");
    click(1119);
    EXPECT_EQ(harness.memo(), "OK");
    setText(1059, "08"); // blocks 6 and 7
    click(1066);
    EXPECT_EQ(harness.memo(), "OK");
    click(1119);
    EXPECT_EQ(harness.memo(), "Error: 4 ,function: rf_sr176_writeblock");
    click(1116);
    click(1118);
    EXPECT_EQ(text(1105), "BEEF");
    EXPECT_EQ(text(1114), "7608");
}

TEST_F(TypeBTagsSimulatorTest, Srix4kReadsItsUidAndBlocksAndIsRefusedAfterItsLock)
{
    open<CSrix4kPage>();
    click(1010);
    EXPECT_EQ(harness.memo(), "OK");
    click(1066);
    EXPECT_EQ(text(1058), "D00201A1B2C3D44B");
    click(1063);
    EXPECT_EQ(harness.memo(), "OK");
    EXPECT_EQ(text(5016), hexOf("SRIX"));
    EXPECT_EQ(text(5005), "FFFFFFFF");

    choose(1120, "9");
    setText(5009, "01020304");
    click(1064);
    EXPECT_EQ(harness.memo(), "OK");
    setText(1059, "02"); // block 9
    click(1067);
    EXPECT_EQ(harness.memo(), "OK");
    click(1064);
    EXPECT_EQ(harness.memo(), "Error: 4 ,function: rf_srix4k_writeblock");
}

} // namespace
