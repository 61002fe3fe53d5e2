#include "SimulatedPageTest.h"

#include "pages/CMifareS50Page.h"

#include <utility>

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

    // The purse: a value block made in sector 2, raised, lowered and read.
    setText(PurseKeyField, "ffffffffffff");
    choose(PurseSectorList, "2");
    choose(PurseBlockList, "0");
    for (const auto &[button, value] : {std::pair{InitializeButton, "-300"}, {IncrementButton, "25"}, {DecrementButton, "5"}}) {
        setText(DecimalValueField, value);
        click(button);
    }
    click(BalanceButton);
    EXPECT_EQ(text(DecimalValueField), "-280");
}

} // namespace
