#include "SimulatedPageTest.h"

#include "controls/CHexGrid.h"
#include "pages/CIso15693Page.h"
#include "pages/CSrf55vPage.h"

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

TEST_F(Iso15693SimulatorTest, TheIcodeSliIsFoundReadWrittenAndLocked)
{
    using enum CIso15693Page::ControlId;
    auto *page = &open<CIso15693Page>(CardKind::IcodeSli);
    click(InventoryButton);
    const auto uid = [this](int row) { return text(CIso15693Page::UidFields[std::size_t(row)]); };
    EXPECT_EQ((QStringList{uid(0), uid(1), uid(2)}), (QStringList{"E004010012345678", "E005000087654321", ""}));
    click(InformationButton);
    EXPECT_EQ((QStringList{text(DsfidField), text(AfiField)}), (QStringList{"01", "02"}));
    click(ReadButton);
    EXPECT_EQ(page->grid()->GetRowBytes(2), QByteArray::fromHex("11223344"));

    PageHarness::typeAt(page->grid(), 4 * 2, "aa");
    click(WriteButton);
    choose(BlockList, "2");
    click(LockButton);
    click(ReadButton);
    EXPECT_EQ(page->grid()->GetRowBytes(2), QByteArray::fromHex("AA223344"));
    EXPECT_EQ(text(FirstStatusField + 2), "01") << "block 2 is locked";
}

TEST_F(Iso15693SimulatorTest, TheSrf55vPagesAreReadAndAChangeIsWrittenAndVerified)
{
    using enum CSrf55vPage::ControlId;
    auto *page = &open<CSrf55vPage>(0);
    click(InventoryButton);
    ASSERT_EQ(text(CSrf55vPage::UidFields[0]), "E004010012345678");
    // The second tag is the SRF55V.
    PageHarness::click(page, CVicinityTagPage::UidButtons[1]);
    click(ReadButton);
    EXPECT_EQ(page->grid()->GetRowBytes(9), QByteArray::fromHex("0102030405060708"));
    PageHarness::typeAt(page->grid(), 8 * 9, "f");
    click(WriteButton);
    page->grid()->ClearData();
    click(ReadButton);
    EXPECT_EQ(page->grid()->GetRowBytes(9), QByteArray::fromHex("F102030405060708"));
}

} // namespace
