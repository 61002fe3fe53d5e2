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
    using enum CAt24Page::ControlId;
    start(nullptr);
    const auto openPage = [this] { open<CAt24Page>().setCardType(CardKind::At24c64); };
    openPage();
    click(ReadButton);
    EXPECT_EQ(harness.memo(), "Communication successful");
    EXPECT_EQ(grid(Grid)->GetRowBytes(0), QByteArray("ZENTRAVA AT24C64"));
    EXPECT_EQ(harness.logLines().size(), 65);

    // Over the 32-byte write page boundary at 0x20, and 201 bytes in all.
    typeAt(Grid, 0x1E, "CAFEBABE");
    typeAt(Grid, 0xE6, "01");
    click(WriteButton);

    openPage();
    click(ReadButton);
    const QByteArray rows = grid(Grid)->GetRowBytes(1) + grid(Grid)->GetRowBytes(2);
    EXPECT_EQ(rows.mid(0x0E, 4), QByteArray::fromHex("CAFEBABE"));
    EXPECT_EQ(grid(Grid)->GetRowBytes(14).at(6), '\x01');
}

TEST_F(MemoryCardSimulatorTest, TheAt88sc1608CountsWrongPasswordsAuthenticatesAndKeepsItsZones)
{
    using enum CAt1608Page::ControlId;
    start(SecureMemoryCard);
    open<CAt1608Page>();
    click(ResetButton);
    EXPECT_EQ(text(AnswerField), "3BB21100");

    // A wrong write password of set 2 is refused and clears a bit of its counter at 0x50.
    setText(PasswordField, "000000");
    choose(PasswordSetList, "W2");
    choose(ZoneList, "2");
    click(ReadUserZoneButton);
    EXPECT_EQ(harness.memo(), "Error: 2 ,function: AT1608_VerifyPassword");
    setText(SecureCodeField, "ffffff");
    click(ReadConfigurationButton);
    EXPECT_EQ(grid(ConfigurationGrid)->GetRowBytes(10).toHex().toUpper(), "7FFFFFFFFFFFFFFF");
    const QByteArray cryptogram = grid(ConfigurationGrid)->GetRowBytes(5);
    EXPECT_EQ(cryptogram.toHex().toUpper(), "1122334455667788");

    // The card accepts the answer computed from its secret seed, and not another one.
    setText(GcField, "0102030405060709");
    setText(Q0Field, "0011223344556677");
    click(AuthenticateButton);
    EXPECT_EQ(harness.memo(), "Error: 2 ,function: AT1608_Authenticate");
    setText(GcField, "0102030405060708");
    click(AuthenticateButton);
    EXPECT_EQ(harness.memo(), "Communication successful");
    click(ReadConfigurationButton);
    EXPECT_NE(grid(ConfigurationGrid)->GetRowBytes(5), cryptogram);

    // Written under the write password, read back under the read password.
    setText(PasswordField, "ffffff");
    click(ReadUserZoneButton);
    typeAt(UserGrid, 0x10, "CAFE");
    click(WriteUserZoneButton);
    EXPECT_EQ(harness.memo(), "Communication successful");
    choose(ZoneList, "3");
    click(ReadUserZoneButton);
    EXPECT_EQ(harness.memo(), "Error: 3 ,function: AT1608_Read");
    choose(ZoneList, "2");
    choose(PasswordSetList, "R2");
    click(ReadUserZoneButton);
    EXPECT_EQ(grid(UserGrid)->GetRowBytes(1).left(3).toHex().toUpper(), "CAFEFF");
    // The right password restored the counter.
    click(ReadConfigurationButton);
    EXPECT_EQ(grid(ConfigurationGrid)->GetRowBytes(10).left(1).toHex().toUpper(), "FF");
}

} // namespace
