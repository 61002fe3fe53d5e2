#include "SimulatedPageTest.h"

#include "pages/CPortSetPage.h"
#include "reader/RuntimeState.h"

#include <QAbstractButton>
#include <QDateEdit>
#include <QTimeEdit>

namespace {

using enum CPortSetPage::ControlId;

// The port page against the simulated reader beside the program, with the port still closed:
// the operator connects, reads model, version and supported cards, and sets the clock, which
// comes back as set.
using PortSetPageSimulatorTest = SimulatedPageTest;

TEST_F(PortSetPageSimulatorTest, TheOperatorConnectsReadsTheReaderAndSetsItsClock)
{
    start(nullptr, false);
    auto &page = open<CPortSetPage>();
    choose(PortList, "COM1");
    choose(BaudList, "115200");
    click(ConnectButton);
    ASSERT_TRUE(PortOpen);

    click(GetButton);
    EXPECT_FALSE(text(VersionField).isEmpty());
    for (int id = FirstSupportBox; id < FirstSupportBox + CPortSetPage::SupportBoxCount; ++id)
        EXPECT_TRUE(page.button(id)->isChecked()) << "card box " << id;

    const QDate date(2049, 6, 15);
    page.control<QDateEdit>(ClockDate)->setDate(date);
    // Far from midnight: the reader's clock runs on while the test runs.
    page.control<QTimeEdit>(ClockTime)->setTime(QTime(10, 20, 30));
    click(ClockWrite);
    page.control<QDateEdit>(ClockDate)->setDate(QDate(2001, 1, 1));
    click(ClockRead);
    EXPECT_EQ(page.control<QDateEdit>(ClockDate)->date(), date);
}

} // namespace
