#include "PageChecks.h"

#include "controls/CHexGrid.h"
#include "pages/CAt1608Page.h"

#include <QComboBox>

namespace {

using namespace pagechecks;
using enum CAt1608Page::ControlId;

class At1608PageTest : public PageTest<CAt1608Page>
{
protected:
    void SetUp() override { open(); }

    CHexGrid *grid(int id) { return m_page->control<CHexGrid>(id); }
    void typeAt(int id, int address, const QString &digits) { PageHarness::typeAt(grid(id), address, digits); }
    QStringList items(int id)
    {
        QStringList list;
        for (int i = 0; i < m_page->comboBox(id)->count(); ++i)
            list << QStringLiteral("%1=%2").arg(m_page->comboBox(id)->itemText(i)).arg(m_page->comboBox(id)->itemData(i).toInt());
        return list;
    }
};

TEST_F(At1608PageTest, ResetFuseAndTheirFailures)
{
    harness.reader().script("AT1608_Rst", hexAnswer("3BB2110010"));
    click(ResetButton);
    EXPECT_EQ(calls(), (QStringList{"OpenCard()", "AT1608_Rst()"}));
    EXPECT_EQ(text(AnswerField), "3BB21100");

    harness.reader().clearCalls();
    harness.reader().script("AT1608_ReadFuse1", hexAnswer("01"));
    click(ReadFuseButton);
    EXPECT_EQ(text(FuseField), "01");
    harness.reader().scriptStatus("AT1608_WriteFuse1", 4);
    click(BlowFuseButton);
    EXPECT_EQ(calls(), (QStringList{"AT1608_ReadFuse1()", "AT1608_WriteFuse1()"}));
    EXPECT_EQ(harness.memo(), "Error: 4 ,function: AT1608_WriteFuse1");
}

TEST_F(At1608PageTest, AuthenticateSendsQ0AndTheAnswerToTheCardsCryptogram)
{
    setText(GcField, "1122334455667788");
    setText(Q0Field, "a1a2a3a4a5a6a7a8");
    harness.reader().script("AT1608_Read", hexAnswer("0102030405060708"));
    click(AuthenticateButton);
    EXPECT_EQ(calls(), (QStringList{"AT1608_Read(40,8,8)",
                                    "AT1608_Authenticate() A1A2A3A4A5A6A7A8D3D8C3D884B898EFD3D8C3D884B898EF"}));
    EXPECT_EQ(harness.memo(), "Communication successful");
}

TEST_F(At1608PageTest, TheConfigurationZoneIsReadIn16PiecesAndWrittenAtMost8Bytes)
{
    setText(SecureCodeField, "ffffff");
    for (int piece = 0; piece < 16; ++piece)
        harness.reader().script("AT1608_Read", answer(QByteArray(8, '\x5A'), piece == 2 || piece == 15 ? 3 : 0));
    click(ReadConfigurationButton);
    EXPECT_EQ(calls(), QStringList{"AT1608_VerifyPassword(7) FFFFFF"} + callRun("AT1608_Read(%1,8,8)", 0, 128, 8));
    EXPECT_EQ(harness.logLines()[3] + " " + harness.memo(), "AT1608_Read 3 Communication successful");
    const QByteArray zone = grid(ConfigurationGrid)->GetRowBytes(0) + grid(ConfigurationGrid)->GetRowBytes(1) +
                            grid(ConfigurationGrid)->GetRowBytes(2);
    EXPECT_EQ(zone, QByteArray(16, '\x5A') + QByteArray(8, '\0'));

    // Ten changed bytes from 0x12: the first 8 are written at 0x12.
    harness.reader().clearCalls();
    typeAt(ConfigurationGrid, 0x12, "00112233445566778899");
    click(WriteConfigurationButton);
    EXPECT_EQ(calls(), (QStringList{"AT1608_VerifyPassword(7) FFFFFF", "AT1608_Write(18,8,8) 0011223344556677"}));
    click(WriteConfigurationButton);
    EXPECT_EQ(harness.memo(), "Error: No change data");

    // A refused secure code stops before any read.
    harness.reader().clearCalls();
    harness.reader().scriptStatus("AT1608_VerifyPassword", 2);
    click(ReadConfigurationButton);
    EXPECT_EQ(calls(), QStringList{"AT1608_VerifyPassword(7) FFFFFF"});
}

TEST_F(At1608PageTest, UserZonesUseTheChosenPasswordSetAndZone)
{
    EXPECT_EQ(items(PasswordSetList).mid(0, 4) << items(PasswordSetList).last() << items(SpareSetList).mid(0, 2)
                  << items(SpareSetList).last(),
              (QStringList{"W0=0", "R0=8", "W1=1", "R1=9", "R7=15", "W0=0", "R0=50", "R7=57"}));
    EXPECT_EQ(items(ZoneList), callRun("%1=%1", 0, 8));
    setText(PasswordField, "123456");
    choose(PasswordSetList, "R3");
    choose(ZoneList, "5");
    harness.reader().script("AT1608_Read", answer(QByteArray(256, '\x42')));
    click(ReadUserZoneButton);
    EXPECT_EQ(calls(), (QStringList{"AT1608_VerifyPassword(11) 123456", "AT1608_Read(0,256,5)"}));
    EXPECT_EQ(grid(UserGrid)->GetRowBytes(15), QByteArray(16, '\x42'));

    // Bytes 0x20 and 0x2F changed: 16 bytes at 32.
    harness.reader().clearCalls();
    choose(PasswordSetList, "W0");
    typeAt(UserGrid, 0x20, "01");
    typeAt(UserGrid, 0x2F, "02");
    click(WriteUserZoneButton);
    EXPECT_EQ(calls(), (QStringList{"AT1608_VerifyPassword(0) 123456",
                                    "AT1608_Write(32,5,16) 01" + QStringLiteral("42").repeated(14) + "02"}));

    // A failed read shows zeros and leaves nothing to write.
    typeAt(UserGrid, 0x00, "77");
    harness.reader().scriptStatus("AT1608_Read", 3);
    click(ReadUserZoneButton);
    EXPECT_EQ(harness.memo(), "Error: 3 ,function: AT1608_Read");
    EXPECT_EQ(grid(UserGrid)->GetRowBytes(2), QByteArray(16, '\0'));
    harness.reader().clearCalls();
    click(WriteUserZoneButton);
    EXPECT_EQ(calls() + QStringList{harness.memo()}, (QStringList{"AT1608_VerifyPassword(0) 123456", "Error: No change data"}));
}

} // namespace
