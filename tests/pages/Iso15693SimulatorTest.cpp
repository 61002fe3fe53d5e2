#include "SimulatedPageTest.h"
#include "QtPrinters.h"

#include "controls/CHexGrid.h"
#include "pages/CIso15693Page.h"
#include "pages/CSrf55vPage.h"

#include <gtest/gtest.h>

namespace {

const char *const TwoTags = R"({
  "field": [
    { "type": "icode-sli", "Card": { "UID": "E004010012345678" }, "DSFID": "01", "AFI": "02",
      "blocks": { "2": "11223344" } },
    { "type": "srf55v02p", "Card": { "UID": "E005000087654321" }, "blocks": { "9": "0102030405060708" } }
  ]
})";

// The vicinity pages against the simulated reader beside the program.
class Iso15693SimulatorTest : public SimulatedPageTest
{
protected:
    void SetUp() override { start(TwoTags); }
};

TEST_F(Iso15693SimulatorTest, TheIcodeSliIsFoundReadWrittenAndALockedBlockRefusesWrites)
{
    auto *page = &open<CIso15693Page>(CardKind::IcodeSli);
    click(1069);
    EXPECT_EQ((QStringList{text(1201), text(1084), text(1085)}), (QStringList{"E004010012345678", "E005000087654321", ""}));
    click(1067);
    EXPECT_EQ((QStringList{text(1058), text(1059)}), (QStringList{"01", "02"}));
    click(1066);
    EXPECT_EQ(page->grid()->GetRowBytes(2), QByteArray::fromHex("11223344"));

    PageHarness::typeAt(page->grid(), 4 * 2, "aa");
    click(1071);
    choose(1120, "2");
    click(1072);
    EXPECT_EQ(harness.memo(), "Communication successful");
    click(1066);
    EXPECT_EQ(page->grid()->GetRowBytes(2), QByteArray::fromHex("AA223344"));
    EXPECT_EQ(text(1502), "01") << "block 2 is locked";

    PageHarness::typeAt(page->grid(), 4 * 2, "bb");
    click(1071);
    EXPECT_EQ(harness.memo(), "Error: 4 ,function: ISO15693_Write");
}

TEST_F(Iso15693SimulatorTest, TheSrf55vPagesAreReadAndAChangeIsWrittenAndVerified)
{
    auto *page = &open<CSrf55vPage>(0);
    click(1066);
    ASSERT_EQ(text(1056), "E004010012345678");
    // The second tag is the SRF55V.
    PageHarness::click(page, 1193);
    click(1063);
    EXPECT_EQ(page->grid()->GetRowBytes(9), QByteArray::fromHex("0102030405060708"));
    PageHarness::typeAt(page->grid(), 8 * 9, "f");
    click(1064);
    EXPECT_EQ(harness.logLines(), QStringList{"Srf55vp_Write_Reread 0"});
    page->grid()->ClearData();
    click(1063);
    EXPECT_EQ(page->grid()->GetRowBytes(9), QByteArray::fromHex("F102030405060708"));

    // The first tag is no SRF55V.
    PageHarness::click(page, 1192);
    click(1063);
    EXPECT_EQ(harness.memo(), "Error: 1 ,function: Srf55vp_Read");
}

} // namespace
