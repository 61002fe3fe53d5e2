#include "SimulatedPageTest.h"
#include "QtPrinters.h"

#include "pages/CMifareS50Page.h"


namespace {

// The S50 page against the simulated reader's shipped card, on the port the program opens at
// start-up.
using MifareSimulatorTest = SimulatedPageTest;

TEST_F(MifareSimulatorTest, TheS50PageSelectsReadsWritesAndWorksThePurseOfTheShippedCard)
{
    using enum CMifareStdPage::ControlId;
    const MifarePanel &panel = CMifareS50Page::layout().panels[2];
    start(nullptr);
    open<CMifareS50Page>();
    click(RequestButton);
    EXPECT_EQ(text(SerialField), "C0FFEE42");

    choose(panel.sectorList, "15");
    choose(panel.blockList, "2");
    setText(panel.keyField, "ffffffffffff");
    setText(panel.blockFields[2], "0123456789abcdef0123456789abcdef");
    click(panel.writeButton);
    setText(panel.blockFields[2], "");
    click(panel.readButton);
    EXPECT_EQ(text(panel.blockFields[2]), "0123456789ABCDEF0123456789ABCDEF");

    // The purse of sector 0 holds 100; sector 2 block 0 is made one of -300.
    setText(PurseKeyField, "ffffffffffff");
    const auto purse = [this](int button, const char *sector, const char *block, const char *value) {
        choose(PurseSectorList, sector);
        choose(PurseBlockList, block);
        setText(DecimalValueField, value);
        click(button);
    };
    purse(IncrementButton, "0", "1", "25");
    purse(DecrementButton, "0", "1", "5");
    purse(BalanceButton, "0", "1", "0");
    EXPECT_EQ(text(DecimalValueField), "120");
    purse(InitializeButton, "2", "0", "-300");
    purse(BalanceButton, "2", "0", "0");
    EXPECT_EQ(text(HexValueField), "D4FEFFFF");
}

} // namespace
