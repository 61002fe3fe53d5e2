#include "SimulatedPageTest.h"

#include "controls/CHexGrid.h"
#include "pages/CAt1608Page.h"
#include "pages/CAt24Page.h"

namespace {

// The memory-card pages against the simulated reader, with the card of a scenario in its contact
// slot.
class MemoryCardSimulatorTest : public SimulatedPageTest
{
protected:
    CHexGrid *grid(int id) { return m_page->findChild<CHexGrid *>(QStringLiteral("id%1").arg(id)); }
    QString row(int id, int row) { return QString::fromLatin1(grid(id)->GetRowBytes(row).toHex().toUpper()); }
};

TEST_F(MemoryCardSimulatorTest, TheAt24C64InTheSlotIsReadAndWrittenAcrossItsWritePages)
{
    using enum CAt24Page::ControlId;
    start(nullptr);
    open<CAt24Page>().setCardType(CardKind::At24c64);
    click(ReadButton);
    EXPECT_EQ(grid(Grid)->GetRowBytes(0), QByteArray("ZENTRAVA AT24C64"));
    // Over the 32-byte write page boundary at 0x20, and 201 bytes in all.
    PageHarness::typeAt(grid(Grid), 0x1E, "CAFEBABE");
    PageHarness::typeAt(grid(Grid), 0xE6, "01");
    click(WriteButton);

    open<CAt24Page>().setCardType(CardKind::At24c64);
    click(ReadButton);
    EXPECT_EQ(row(Grid, 1).right(4) + row(Grid, 2).left(4), "CAFEBABE");
    EXPECT_EQ(row(Grid, 14).mid(12, 2), "01");
}

TEST_F(MemoryCardSimulatorTest, TheAt88sc1608IsResetAuthenticatedAndKeepsItsZones)
{
    using enum CAt1608Page::ControlId;
    start(R"({ "field": [], "contactSlot": { "type": "at88sc1608" } })");
    open<CAt1608Page>();
    click(ResetButton);
    EXPECT_EQ(text(AnswerField), "3BB21100");

    setText(SecureCodeField, "ffffff");
    click(ReadConfigurationButton);
    EXPECT_EQ(row(ConfigurationGrid, 10), "FFFFFFFFFFFFFFFF");

    // The answer computed from the card's secret seed authenticates.
    setText(GcField, "0102030405060708");
    setText(Q0Field, "0011223344556677");
    click(AuthenticateButton);
    EXPECT_EQ(harness.memo(), "Communication successful");

    // Written under the write password, read back under the read password.
    setText(PasswordField, "ffffff");
    choose(PasswordSetList, "W2");
    choose(ZoneList, "2");
    click(ReadUserZoneButton);
    PageHarness::typeAt(grid(UserGrid), 0x10, "CAFE");
    click(WriteUserZoneButton);
    grid(UserGrid)->ClearData();
    choose(PasswordSetList, "R2");
    click(ReadUserZoneButton);
    EXPECT_EQ(row(UserGrid, 1).left(6), "CAFEFF");
}

} // namespace
