#include "SimulatedPageTest.h"
#include "QtPrinters.h"

#include "pages/CAt24Page.h"
#include "pages/CIso15693Page.h"
#include "pages/CMifareS50Page.h"
#include "pages/CUltraLightPage.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace {

// The operator arms a fault with zentrava-sim while the program runs, and the page's next
// operation ends in the failure report of the call the fault struck.
class FaultSimulatorTest : public SimulatedPageTest
{
protected:
    void fault(const QString &arguments)
    {
        QProcess tool;
        tool.start(QCoreApplication::applicationDirPath() + QStringLiteral("/zentrava-sim"),
                   QStringList{QStringLiteral("fault")} + arguments.split(QLatin1Char(' ')));
        ASSERT_TRUE(tool.waitForFinished());
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAll().toStdString();
    }
};

TEST_F(FaultSimulatorTest, EachFaultEndsTheOperationInTheReportOfTheCallItStruck)
{
    struct Case {
        const char *name;
        std::function<void()> openAndPrepare;
        QString fault;
        std::function<void()> operate;
        QString memo;
        QString lastLogLine;
    };
    const Case cases[] = {
        {"Mifare read, status forced", [this] { open<CMifareS50Page>(); }, "force rf_M1_read 1a",
         [this] {
             const MifarePanel &panel = CMifareS50Page::layout().panels[0];
             choose(panel.sectorList, "0");
             setText(panel.keyField, "ffffffffffff");
             click(panel.readButton);
         },
         "Error: 1a ,function: rf_M1_read", "rf_M1_read 1a"},
        {"UltraLight write, torn",
         [this] {
             open<CUltraLightPage>();
             click(CUltraLightPage::RequestAllButton);
         },
         "tear 2",
         [this] {
             choose(CUltraLightPage::PageList, "6");
             setText(CUltraLightPage::pageField(6), "cafebabe");
             click(CUltraLightPage::WriteButton);
         },
         "Error: 1 ,function: rf_ul_write", "rf_ul_write 1"},
        {"AT24 read, the card left after OpenCard and one read",
         [this] { open<CAt24Page>().setCardType(CardKind::At24c64); }, "leave-after 2",
         [this] { click(CAt24Page::ReadButton); },
         "Error: 1 ,function: AT24_read", "AT24_read 1"},
        {"ISO 15693 read, the reader does not answer",
         [this] {
             m_page = std::make_unique<CIso15693Page>(CardKind::IcodeSli);
             click(CIso15693Page::InventoryButton);
         },
         "timeout", [this] { click(CIso15693Page::ReadButton); }, "Error: b ,function: ISO15693_Read",
         "ISO15693_Read b"},
    };
    start(nullptr);
    for (const Case &row : cases) {
        SCOPED_TRACE(row.name);
        row.openAndPrepare();
        fault(row.fault);
        row.operate();
        EXPECT_EQ(harness.memo(), row.memo);
        EXPECT_EQ(harness.logLines().value(harness.logLines().size() - 1), row.lastLogLine);
        fault(QStringLiteral("clear"));
    }

    // The torn page keeps the first two new bytes: "HT D" became CA FE 20 44.
    open<CUltraLightPage>();
    click(CUltraLightPage::RequestAllButton);
    click(CUltraLightPage::ReadButton);
    EXPECT_EQ(text(CUltraLightPage::pageField(6)), "CAFE2044");
}

} // namespace
