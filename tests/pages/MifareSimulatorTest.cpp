#include "SimulatedPageTest.h"
#include "QtPrinters.h"

#include "pages/CMifareS50Page.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using enum CMifareStdPage::ControlId;
const MifarePanel &PanelC = CMifareS50Page::layout().panels[2];

const QString FactoryKey = QStringLiteral("ffffffffffff");

// The pages against the simulated reader beside the program, loaded as the program loads its
// reader library, on the port the program opens at start-up.
class MifareSimulatorTest : public SimulatedPageTest
{
protected:
    void purse(int button, const QString &sector, const QString &block, const QString &value = QString())
    {
        choose(PurseSectorList, sector);
        choose(PurseBlockList, block);
        setText(PurseKeyField, FactoryKey);
        if (!value.isNull())
            setText(DecimalValueField, value);
        click(button);
        EXPECT_EQ(harness.memo(), "OK");
    }
};

TEST_F(MifareSimulatorTest, TheS50PageSelectsReadsWritesAndWorksThePurseOfTheShippedCard)
{
    start(nullptr);
    open<CMifareS50Page>();
    click(RequestButton);
    EXPECT_EQ(text(SerialField), "C0FFEE42");
    EXPECT_EQ(harness.memo(), "Communication successful");

    choose(PanelC.sectorList, "15");
    choose(PanelC.blockList, "2");
    setText(PanelC.keyField, FactoryKey);
    setText(PanelC.blockFields[2], "0123456789abcdef0123456789abcdef");
    click(PanelC.writeButton);
    EXPECT_EQ(harness.memo(), "OK");
    setText(PanelC.blockFields[2], "");
    click(PanelC.readButton);
    EXPECT_EQ(text(PanelC.blockFields[2]), "0123456789ABCDEF0123456789ABCDEF");

    purse(IncrementButton, "0", "1", "25");
    purse(DecrementButton, "0", "1", "5");
    purse(BalanceButton, "0", "1");
    EXPECT_EQ(text(DecimalValueField), "120");
    purse(InitializeButton, "2", "0", "-300");
    purse(BalanceButton, "2", "0");
    EXPECT_EQ(text(DecimalValueField), "-300");
    EXPECT_EQ(text(HexValueField), "D4FEFFFF");
}

} // namespace
