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

TEST_F(TypeBTagsSimulatorTest, At88rf020WritesCountsAndIsRefusedOnALockedPage)
{
    open<CAt88rf020Page>(1024);
    click(1011);
    EXPECT_EQ(text(1006), "A0200001");
    click(1044);
    EXPECT_EQ((QStringList{text(1200), text(1207)}), (QStringList{"A0200001", hexOf("AT88RF02")}));

    setText(1014, "ffffffffffffffff");
    click(1012);
    choose(1045, "9");
    setText(1212, "c0ffee");
    click(1046);
    EXPECT_EQ(harness.memo(), "OK");

    setText(1015, "00020000"); // page 9
    click(1013);
    EXPECT_EQ(text(1201), "00020000");
    click(1046);
    EXPECT_EQ(harness.memo(), "Error: 4 ,function: rf_at020_write");

    click(1011);
    setText(1016, "a1a2a3a4a5a6");
    click(1043);
    EXPECT_EQ((QStringList{text(1204), text(1205)}), (QStringList{"A1A2A3A4A5A6", "0001"}));
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
    EXPECT_EQ((QStringList{text(1099), text(1103)}), (QStringList{"D002", hexOf("SR")}));

    choose(1117, "6");
    setText(1105, "beef");
    click(1119);
    EXPECT_EQ(harness.memo(), "OK");
    setText(1059, "08"); // blocks 6 and 7
    click(1066);
    click(1119);
    EXPECT_EQ(harness.memo(), "Error: 4 ,function: rf_sr176_writeblock");
    click(1116);
    click(1118);
    EXPECT_EQ((QStringList{text(1105), text(1114)}), (QStringList{"BEEF", "7608"}));
}

TEST_F(TypeBTagsSimulatorTest, Srix4kReadsItsUidAndBlocksAndIsRefusedAfterItsLock)
{
    open<CSrix4kPage>();
    click(1010);
    click(1066);
    EXPECT_EQ(text(1058), "D00201A1B2C3D44B");
    click(1063);
    EXPECT_EQ((QStringList{text(5016), text(5005), harness.memo()}), (QStringList{hexOf("SRIX"), "FFFFFFFF", "OK"}));

    choose(1120, "9");
    setText(5009, "01020304");
    click(1064);
    EXPECT_EQ(harness.memo(), "OK");
    setText(1059, "02"); // block 9
    click(1067);
    click(1064);
    EXPECT_EQ(harness.memo(), "Error: 4 ,function: rf_srix4k_writeblock");
}

} // namespace
