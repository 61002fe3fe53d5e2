#include "SimulatedPageTest.h"
#include "QtPrinters.h"

#include "base/ProgramDirectory.h"
#include "consoles/CCpuCardPage.h"
#include "consoles/CIso14443CpuPage.h"
#include "consoles/CSamPage.h"
#include "consoles/CTipListBox.h"
#include "consoles/CTransceivePage.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

// The consoles against the simulated reader beside the program and its built-in cards: a type A
// processor card, a DESFire, a type B processor card, a processor card in the contact slot and a
// SAM in the SAM slot.
class ConsoleSimulatorTest : public SimulatedPageTest
{
protected:
    void SetUp() override { start(nullptr); }
    void TearDown() override
    {
        SimulatedPageTest::TearDown();
        for (const char *book : {"cosbooks.txt", "cpubooks.txt", "samcosbooks.txt", "testcmdbooks.txt"})
            QFile::remove(ProgramFilePath(book));
    }

    void show(CConsolePage *page) { m_page.reset(page); }
};

TEST_F(ConsoleSimulatorTest, TheContactlessConsoleActivatesEachFamilyAndTalksToItsCard)
{
    using enum CIso14443CpuPage::ControlId;
    const struct {
        CardKind cardType;
        int serialField;
        const char *serial, *command, *answer;
    } cases[] = {
        {CardKind::MifarePro, CsnField, "5A10CB01", "00A40000020001", "9000"},
        {CardKind::SmartCard, PupiField, "B0C1D2E3", "00A40000020001", "9000"},
        {CardKind::MifareDesfire, CsnField, "04D3F1E2A55B80", "60", "AF04010101001805"}, // GetVersion, native
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.cardType));
        show(new CIso14443CpuPage(c.cardType, CIso14443CpuPage::dialogTemplate(1280)));
        click(ResetButton);
        EXPECT_EQ(text(c.serialField), c.serial);
        EXPECT_EQ(send(CommandField, SendButton, c.command), c.answer);
    }
}

TEST_F(ConsoleSimulatorTest, TheContactAndSamConsolesResetSendAndCipher)
{
    show(new CCpuCardPage);
    click(CCpuCardPage::ResetButton);
    EXPECT_EQ(text(CCpuCardPage::ResetInfoField), "3B6A00005A5443505501C0DE0001");
    EXPECT_EQ(send(CCpuCardPage::CommandField, CCpuCardPage::SendButton, "00A40000020001"), "9000");

    show(new CSamPage(CSamPage::dialogTemplate(1280)));
    click(CSamPage::Baud38400Radio);
    click(CSamPage::ResetButton);
    EXPECT_EQ(text(CSamPage::ResetInfoField), "3B6A00005A5453414D015A300001");
    EXPECT_EQ(send(CSamPage::CommandField, CSamPage::SendButton, "0084000008").size(), 20);
    setText(CSamPage::KeyField, "0123456789ABCDEF");
    setText(CSamPage::DataField, "4E6F772069732074");
    click(CSamPage::EncryptButton);
    EXPECT_EQ(text(CSamPage::ResultField), "3FA40E8A984D4815");
}

TEST_F(ConsoleSimulatorTest, ThePassThroughTalksToTypeBCardsAndVicinityTags)
{
    using enum CTransceivePage::ControlId;
    show(new CTransceivePage);
    click(SetButton);
    EXPECT_EQ(send(SendField, TransceiveButton, "050000"), "50B0C1D2E300000000008141");
    // In ISO 15693 mode the vicinity tags answer.
    click(Iso15693Radio);
    click(SetButton);
    EXPECT_EQ(send(SendField, TransceiveButton, "260100"), "000078563412000104E0");
}

} // namespace
