#include "PageChecks.h"

#include "controls/CHexGrid.h"
#include "pages/CAt1608Page.h"

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

TEST_F(At1608PageTest, ResetFuseAndAuthenticateSendQ0AndTheAnswerToTheCardsCryptogram)
{
    runSession(harness, m_page.get(), {
        {.button = ResetButton, .answers = {{"AT1608_Rst", hexAnswer("3BB2110010")}}, .calls = {{"OpenCard()", "AT1608_Rst()"}},
         .shown = {{AnswerField, "3BB21100"}}},
        {.button = ReadFuseButton, .answers = {{"AT1608_ReadFuse1", hexAnswer("01")}}, .calls = {{"AT1608_ReadFuse1()"}},
         .shown = {{FuseField, "01"}}},
        {.button = BlowFuseButton, .answers = {{"AT1608_WriteFuse1", answer({}, 4)}}, .calls = {{"AT1608_WriteFuse1()"}},
         .memo = "Error: 4 ,function: AT1608_WriteFuse1"},
        {.button = AuthenticateButton, .typed = {{GcField, "1122334455667788"}, {Q0Field, "a1a2a3a4a5a6a7a8"}},
         .answers = {{"AT1608_Read", hexAnswer("0102030405060708")}},
         .calls = {{"AT1608_Read(40,8,8)", "AT1608_Authenticate() A1A2A3A4A5A6A7A8D3D8C3D884B898EFD3D8C3D884B898EF"}},
         .memo = "Communication successful"},
    });
}

TEST_F(At1608PageTest, TheConfigurationZoneIsReadIn16PiecesAndWrittenAtMost8Bytes)
{
    const QString verify = "AT1608_VerifyPassword(7) FFFFFF";
    Answers pieces;
    for (int piece = 0; piece < 16; ++piece)
        pieces.push_back({"AT1608_Read", answer(QByteArray(8, '\x5A'), piece == 2 || piece == 15 ? 3 : 0)});
    runSession(harness, m_page.get(), {{.button = ReadConfigurationButton, .typed = {{SecureCodeField, "ffffff"}},
                                        .answers = pieces,
                                        .calls = QStringList{verify} + callRun("AT1608_Read(%1,8,8)", 0, 128, 8),
                                        .memo = "Communication successful"}});
    EXPECT_EQ(harness.logLines()[3], "AT1608_Read 3");
    const QByteArray zone = grid(ConfigurationGrid)->GetRowBytes(0) + grid(ConfigurationGrid)->GetRowBytes(1) +
                            grid(ConfigurationGrid)->GetRowBytes(2);
    EXPECT_EQ(zone, QByteArray(16, '\x5A') + QByteArray(8, '\0'));

    // Ten changed bytes from 0x12: the first 8 are written at 0x12.
    typeAt(ConfigurationGrid, 0x12, "00112233445566778899");
    runSession(harness, m_page.get(), {
        {.button = WriteConfigurationButton, .calls = {{verify, "AT1608_Write(18,8,8) 0011223344556677"}}},
        {.button = WriteConfigurationButton, .memo = "Error: No change data"},
        // A refused secure code stops before any read.
        {.button = ReadConfigurationButton, .answers = {{"AT1608_VerifyPassword", answer({}, 2)}}, .calls = {{verify}}},
    });
}

TEST_F(At1608PageTest, UserZonesUseTheChosenPasswordSetAndZone)
{
    EXPECT_EQ(items(PasswordSetList).mid(0, 4) << items(PasswordSetList).last() << items(SpareSetList).mid(0, 2)
                  << items(SpareSetList).last(),
              (QStringList{"W0=0", "R0=8", "W1=1", "R1=9", "R7=15", "W0=0", "R0=50", "R7=57"}));
    EXPECT_EQ(items(ZoneList), callRun("%1=%1", 0, 8));
    runSession(harness, m_page.get(), {
        {.button = ReadUserZoneButton, .typed = {{PasswordField, "123456"}, {PasswordSetList, "R3"}, {ZoneList, "5"}},
         .answers = {{"AT1608_Read", answer(QByteArray(256, '\x42'))}},
         .calls = {{"AT1608_VerifyPassword(11) 123456", "AT1608_Read(0,256,5)"}}},
    });
    EXPECT_EQ(grid(UserGrid)->GetRowBytes(15), QByteArray(16, '\x42'));

    // Bytes 0x20 and 0x2F changed: 16 bytes at 32.
    choose(PasswordSetList, "W0");
    typeAt(UserGrid, 0x20, "01");
    typeAt(UserGrid, 0x2F, "02");
    const QString verify = "AT1608_VerifyPassword(0) 123456";
    const QString write = "AT1608_Write(32,5,16) 01" + QStringLiteral("42").repeated(14) + "02";
    runSession(harness, m_page.get(), {{.button = WriteUserZoneButton, .calls = {{verify, write}}}});

    // A failed read shows zeros and leaves nothing to write.
    typeAt(UserGrid, 0x00, "77");
    runSession(harness, m_page.get(), {
        {.button = ReadUserZoneButton, .answers = {{"AT1608_Read", answer({}, 3)}}, .memo = "Error: 3 ,function: AT1608_Read"},
        {.button = WriteUserZoneButton, .calls = {{verify}}, .memo = "Error: No change data"},
    });
    EXPECT_EQ(grid(UserGrid)->GetRowBytes(2), QByteArray(16, '\0'));
}

} // namespace
