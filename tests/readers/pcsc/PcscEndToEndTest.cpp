// Vornex's pages on the PC/SC reader library through a real pcscd, whose virtual readers carry
// the simulator's cards (zentrava-sim serve-pcsc): each family's main buttons once; the faults
// (a card taken away, pcscd gone and back) are the mapping test's. Each test starts its own
// pcscd and card server (tools/pcsc-rig), which stops them by their process ids.
#include "PcscRig.h"
#include "QtPrinters.h"
#include "SimulatedPageTest.h"

#include "base/ProgramDirectory.h"
#include "consoles/CCpuCardPage.h"
#include "consoles/CIso14443CpuPage.h"
#include "consoles/CSamPage.h"
#include "pages/CMifareS50Page.h"
#include "pages/CUltraLightPage.h"
#include "reader/ReaderApi.h"
#include "reader/ReaderLibrary.h"
#include "reader/RuntimeState.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <memory>

namespace pcscendtoend {

const MifarePanel &Sector0 = CMifareS50Page::layout().panels[2];

class PcscEndToEndTest : public SimulatedPageTest
{
protected:
    void SetUp() override
    {
        if (PcscRig::skipAsked())
            GTEST_SKIP() << "VORNEX_SKIP_PCSC=1";
        // The built-in cards with a 1K on top, written back as the cards change.
        sim({"init", "--force"});
        sim({"place", "mifare-1k", "--uid", "A1B2C3D4"});
        m_rig = std::make_unique<PcscRig>(ProgramDirectory().toStdString(), scenario().toStdString());
        ASSERT_EQ(m_rig->start(), "");
        qputenv("ZENTRAVA_PCSC_CONTACT", "PCD 00 01");
        qputenv("ZENTRAVA_PCSC_SAM", PcscRig::Sam);
        useReader("pcsc");
    }
    void TearDown() override
    {
        SimulatedPageTest::TearDown();
        closeReader();
        m_rig.reset();
    }

    static QString scenario() { return qEnvironmentVariable("ZENTRAVA_SCENARIO"); }
    static void sim(const QStringList &arguments)
    {
        ASSERT_EQ(QProcess::execute(ProgramFilePath("zentrava-sim"), QStringList{"--scenario", scenario()} + arguments), 0)
            << arguments.join(' ').toStdString();
    }
    void closeReader()
    {
        if (PortOpen && ReaderApi.rf_close_com != nullptr)
            ReaderApi.rf_close_com();
        PortOpen = false;
        m_library.free();
    }
    // The PC/SC library on the contactless reader's port, or the simulated one on COM1.
    void useReader(const QString &choice)
    {
        closeReader();
        ASSERT_TRUE(m_library.load(ReaderLibrary::pathFor(choice)));
        ASSERT_EQ(ReaderApi.rf_init_com(choice == "pcsc" ? m_rig->portOf(PcscRig::Contactless) : 1, 14400), 0);
        PortOpen = true;
    }
    // The S50 page: a request, then a block of sector 0 read or written with the factory key
    // (the block's field emptied or filled first).
    void mifare(int button, int block = 0, const QString &data = {})
    {
        open<CMifareS50Page>();
        click(CMifareStdPage::RequestButton);
        choose(Sector0.sectorList, "0");
        choose(Sector0.blockList, QString::number(block));
        setText(Sector0.keyField, "ffffffffffff");
        setText(Sector0.blockFields[block], data);
        click(button);
    }

    std::unique_ptr<PcscRig> m_rig;
};

TEST_F(PcscEndToEndTest, MifareAndUltraLightThroughClassFfWithTheSimulatorsModelBehind)
{
    // Each write is proved by reading it back.
    mifare(Sector0.writeButton, 2, "0123456789abcdef0123456789abcdef");
    mifare(Sector0.readButton);
    EXPECT_EQ(text(CMifareStdPage::SerialField), "A1B2C3D4");
    EXPECT_EQ(text(Sector0.blockFields[2]), "0123456789ABCDEF0123456789ABCDEF");
    // The card server wrote the block into the simulator's model: the simulated library reads it.
    useReader("simulated");
    mifare(Sector0.readButton);
    EXPECT_EQ(text(Sector0.blockFields[2]), "0123456789ABCDEF0123456789ABCDEF");
    useReader("pcsc");

    // The UltraLight laid on top: pcscd sees the swap.
    sim({"place", "ultralight", "--uid", "04A1B2C3D4E5F6"});
    ASSERT_TRUE(m_rig->waitForCard(PcscRig::Contactless, false));
    open<CUltraLightPage>();
    click(CUltraLightPage::RequestAllButton);
    EXPECT_EQ(text(CUltraLightPage::SerialField), "04A1B2C3D4E5F6");
    setText(CUltraLightPage::pageField(5), "cafebabe");
    choose(CUltraLightPage::PageList, "5");
    click(CUltraLightPage::WriteButton);
    click(CUltraLightPage::ReadButton);
    EXPECT_EQ(harness.memo(), "OK");
    EXPECT_EQ(text(CUltraLightPage::pageField(5)), "CAFEBABE");

    // Stopped by a signal, the server leaves a whole scenario file, which the tool reads.
    EXPECT_TRUE(m_rig->stopCardServer());
    sim({"dump", "1"});
}

TEST_F(PcscEndToEndTest, ProcessorCardsOnTheContactlessContactAndSamReaders)
{
    sim({"remove", "1"});
    sim({"place", "typea-cpu", "--uid", "5A10CB01"});
    ASSERT_TRUE(m_rig->waitForCard(PcscRig::Contactless, false));
    open<CIso14443CpuPage>(CardKind::MifarePro, CIso14443CpuPage::dialogTemplate(1280));
    click(CIso14443CpuPage::ResetButton);
    EXPECT_EQ(text(CIso14443CpuPage::CsnField), "5A10CB01");
    EXPECT_EQ(send(CIso14443CpuPage::CommandField, CIso14443CpuPage::SendButton, "00A40000020001"), "9000");

    open<CCpuCardPage>();
    click(CCpuCardPage::ResetButton);
    EXPECT_EQ(text(CCpuCardPage::ResetInfoField), "3B6A00005A5443505501C0DE0001");
    EXPECT_EQ(send(CCpuCardPage::CommandField, CCpuCardPage::SendButton, "00A40000020001"), "9000");

    open<CSamPage>(CSamPage::dialogTemplate(1280));
    click(CSamPage::Baud38400Radio);
    click(CSamPage::ResetButton);
    EXPECT_EQ(text(CSamPage::ResetInfoField), "3B6A00005A5453414D015A300001");
    EXPECT_EQ(send(CSamPage::CommandField, CSamPage::SendButton, "0084000008").size(), 20);
}

} // namespace pcscendtoend
