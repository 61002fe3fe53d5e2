#include "SimulatedPageTest.h"
#include "QtPrinters.h"

#include "controls/CHexGrid.h"
#include "pages/CAt1608Page.h"
#include "pages/CAt24Page.h"

#include <gtest/gtest.h>

namespace {

const char *const SecureMemoryCard = R"({ "field": [], "contactSlot": { "type": "at88sc1608" } })";

// The memory-card pages against the simulated reader, with the card of a scenario in its contact
// slot.
class MemoryCardSimulatorTest : public SimulatedPageTest
{
protected:
    CHexGrid *grid(int id) { return m_page->findChild<CHexGrid *>(QStringLiteral("id%1").arg(id)); }
    void typeAt(int id, int shownAddress, const QString &digits) { PageHarness::typeAt(grid(id), shownAddress, digits); }
};

TEST_F(MemoryCardSimulatorTest, TheAt24C64InTheSlotIsReadAndWrittenAcrossItsWritePages)
{
    start(nullptr);
    const auto openPage = [this] { open<CAt24Page>().setCardType(CardKind::At24c64); };
    openPage();
    click(1148);
    EXPECT_EQ(harness.memo(), "Communication successful");
    EXPECT_EQ(grid(1153)->GetRowBytes(0), QByteArray("ZENTRAVA AT24C64"));
    EXPECT_EQ(harness.logLines().size(), 65);

    // Over the 32-byte write page boundary at 0x20, and 201 bytes in all.
    typeAt(1153, 0x1E, "CAFEBABE");
    typeAt(1153, 0xE6, "01");
    click(1149);

    openPage();
    click(1148);
    const QByteArray rows = grid(1153)->GetRowBytes(1) + grid(1153)->GetRowBytes(2);
    EXPECT_EQ(rows.mid(0x0E, 4), QByteArray::fromHex("CAFEBABE"));
    EXPECT_EQ(grid(1153)->GetRowBytes(14).at(6), '\x01');
}

TEST_F(MemoryCardSimulatorTest, TheAt88sc1608CountsWrongPasswordsAuthenticatesAndKeepsItsZones)
{
    start(SecureMemoryCard);
    open<CAt1608Page>();
    click(1063);
    EXPECT_EQ(text(1178), "3BB21100");

    // A wrong write password of set 2 is refused and clears a bit of its counter at 0x50.
    setText(1061, "000000");
    choose(1167, "W2");
    choose(1174, "2");
    click(1171);
    EXPECT_EQ(harness.memo(), "Error: 2 ,function: AT1608_VerifyPassword");
    setText(1060, "ffffff");
    click(1169);
    EXPECT_EQ(grid(1162)->GetRowBytes(10).toHex().toUpper(), "7FFFFFFFFFFFFFFF");
    const QByteArray cryptogram = grid(1162)->GetRowBytes(5);
    EXPECT_EQ(cryptogram.toHex().toUpper(), "1122334455667788");

    // The card accepts the answer computed from its secret seed, and not another one.
    setText(1058, "0102030405060709");
    setText(1059, "0011223344556677");
    click(1065);
    EXPECT_EQ(harness.memo(), "Error: 2 ,function: AT1608_Authenticate");
    setText(1058, "0102030405060708");
    click(1065);
    EXPECT_EQ(harness.memo(), "Communication successful");
    click(1169);
    EXPECT_NE(grid(1162)->GetRowBytes(5), cryptogram);

    // Written under the write password, read back under the read password.
    setText(1061, "ffffff");
    click(1171);
    typeAt(1168, 0x10, "CAFE");
    click(1172);
    EXPECT_EQ(harness.memo(), "Communication successful");
    choose(1174, "3");
    click(1171);
    EXPECT_EQ(harness.memo(), "Error: 3 ,function: AT1608_Read");
    choose(1174, "2");
    choose(1167, "R2");
    click(1171);
    EXPECT_EQ(grid(1168)->GetRowBytes(1).left(3).toHex().toUpper(), "CAFEFF");
    // The right password restored the counter.
    click(1169);
    EXPECT_EQ(grid(1162)->GetRowBytes(10).left(1).toHex().toUpper(), "FF");
}

} // namespace
