// Vornex's pages on the PC/SC reader library through a real pcscd, whose virtual readers carry
// the simulator's cards (zentrava-sim serve-pcsc): each family once, a card taken away and laid
// back, pcscd stopped and started again. Each test starts its own pcscd and card server.
#include "PcscRig.h"
#include "QtPrinters.h"
#include "SimulatedPageTest.h"

#include "base/ProgramDirectory.h"
#include "consoles/CCpuCardPage.h"
#include "consoles/CIso14443CpuPage.h"
#include "consoles/CSamPage.h"
#include "pages/CAt24Page.h"
#include "pages/CMifareS50Page.h"
#include "pages/CPortSetPage.h"
#include "pages/CUltraLightPage.h"
#include "reader/ReaderApi.h"
#include "reader/ReaderLibrary.h"
#include "reader/RuntimeState.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString FactoryKey = QStringLiteral("ffffffffffff");

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
        useReader(QStringLiteral("pcsc"));
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
        const int port = choice == QLatin1String("pcsc") ? m_rig->portOf(PcscRig::Contactless) : 1;
        ASSERT_EQ(ReaderApi.rf_init_com(port, 14400), 0);
        PortOpen = true;
    }

    // The Mifare page: request, then sector 0 read with `key` (blocks 0 to 2 in their fields),
    // or one of its blocks written.
    void mifareSector(int button, const QString &key, int block = 0, const QString &data = QString())
    {
        open<CMifareS50Page>();
        click(1010);
        choose(1063, "0");
        choose(1096, QString::number(block));
        setText(1006, key);
        if (!data.isNull())
            setText(BlockField[block], data);
        click(button);
    }
    static constexpr int BlockField[] = {1080, 1082, 1084};
    static constexpr int MifareRead = 1072, MifareWrite = 1075;

    std::unique_ptr<PcscRig> m_rig;
    ReaderLibrary m_library;
};

TEST_F(PcscEndToEndTest, MifareAndUltraLightThroughClassFfAndOneModelBehindBothDoors)
{
    open<CMifareS50Page>();
    click(1010);
    EXPECT_EQ(text(1049), "A1B2C3D4");
    EXPECT_EQ(harness.memo(), "Communication successful");

    mifareSector(MifareRead, QStringLiteral("000000000000"));
    EXPECT_EQ(harness.memo(), "Error: 6300 ,function: rf_M1_authentication2");
    mifareSector(MifareRead, FactoryKey);
    EXPECT_EQ(harness.memo(), "OK");
    EXPECT_EQ(text(1080).left(8), "A1B2C3D4");
    mifareSector(MifareWrite, FactoryKey, 2, QStringLiteral("0123456789abcdef0123456789abcdef"));
    EXPECT_EQ(harness.memo(), "OK");
    mifareSector(MifareRead, FactoryKey);
    EXPECT_EQ(text(1084), "0123456789ABCDEF0123456789ABCDEF");

    // The block written through PC/SC reads back through the simulated library, and the other way.
    useReader(QStringLiteral("simulated"));
    mifareSector(MifareRead, FactoryKey);
    EXPECT_EQ(text(1084), "0123456789ABCDEF0123456789ABCDEF");
    mifareSector(MifareWrite, FactoryKey, 1, QStringLiteral("fedcba9876543210fedcba9876543210"));
    useReader(QStringLiteral("pcsc"));
    mifareSector(MifareRead, FactoryKey);
    EXPECT_EQ(text(1082), "FEDCBA9876543210FEDCBA9876543210");

    // The UltraLight laid on top: pcscd sees the swap.
    sim({"place", "ultralight", "--uid", "04A1B2C3D4E5F6"});
    ASSERT_TRUE(m_rig->waitForCard(PcscRig::Contactless, false));
    open<CUltraLightPage>();
    click(1077);
    EXPECT_EQ(text(1079), "04A1B2C3D4E5F6");
    setText(1088, "cafebabe");
    choose(1078, "5");
    click(1081);
    EXPECT_EQ(harness.memo(), "OK");
    open<CUltraLightPage>();
    click(1077);
    click(1080);
    EXPECT_EQ(harness.memo(), "OK");
    EXPECT_EQ(text(1088), "CAFEBABE");

    // Stopped by a signal, the server leaves a whole scenario file with the page written.
    EXPECT_TRUE(m_rig->stopCardServer());
    sim({"dump", "1"});
}

TEST_F(PcscEndToEndTest, ProcessorCardsOnTheContactlessContactAndSamReadersAndAnAt24NotSupported)
{
    sim({"remove", "1"});
    sim({"place", "typea-cpu", "--uid", "5A10CB01"});
    ASSERT_TRUE(m_rig->waitForCard(PcscRig::Contactless, false));
    open<CIso14443CpuPage>(CardKind::MifarePro, CIso14443CpuPage::dialogTemplate(1280));
    click(1064);
    EXPECT_EQ(harness.memo(), "OK");
    EXPECT_EQ(text(1058), "5A10CB01");
    EXPECT_EQ(send(1056, 1057, "00A40000020001"), "9000");

    open<CCpuCardPage>();
    click(1073);
    EXPECT_EQ(text(1061), "3B6A00005A5443505501C0DE0001");
    EXPECT_EQ(send(1063, 1060, "00A40000020001"), "9000");
    EXPECT_EQ(send(1063, 1060, "00B0000004"), "5A454E549000");

    open<CSamPage>(CSamPage::dialogTemplate(1280));
    click(1072);
    click(1073);
    EXPECT_EQ(text(1061), "3B6A00005A5453414D015A300001");
    EXPECT_EQ(send(1063, 1060, "0084000008").size(), 20);

    open<CAt24Page>().setCardType(CardKind::At24c64);
    click(1148);
    EXPECT_EQ(harness.memo(), "Error: a ,function: AT24_read");
}

TEST_F(PcscEndToEndTest, ACardTakenAwayFailsClearlyAndIsFoundAgainAndPcscdComesBack)
{
    mifareSector(MifareRead, FactoryKey);
    EXPECT_EQ(text(1080).left(8), "A1B2C3D4");
    sim({"fault", "leave-after", "0"});
    ASSERT_TRUE(m_rig->waitForCard(PcscRig::Contactless, false));
    setText(1080, "");
    click(MifareRead);
    EXPECT_EQ(harness.memo(), "Error: 80100069 ,function: rf_M1_authentication2");
    EXPECT_EQ(text(1080), "");
    sim({"fault", "clear"});
    mifareSector(MifareRead, FactoryKey);
    EXPECT_EQ(harness.memo(), "OK");
    EXPECT_EQ(text(1080).left(8), "A1B2C3D4");

    const int port = m_rig->portOf(PcscRig::Contactless);
    const auto connect = [&] {
        open<CPortSetPage>();
        choose(1051, QStringLiteral("COM%1").arg(port));
        choose(1052, "14400");
        click(1053);
    };
    m_rig->stopPcscd();
    connect();
    EXPECT_EQ(harness.memo(), "Error: 8010001d ,function: rf_init_com");
    ASSERT_EQ(m_rig->startPcscd(), "");
    ASSERT_TRUE(m_rig->waitForCard(PcscRig::Contactless, true));
    connect();
    EXPECT_EQ(harness.memo(), "Connect successful");
    mifareSector(MifareRead, FactoryKey);
    EXPECT_EQ(text(1080).left(8), "A1B2C3D4");
}

} // namespace
