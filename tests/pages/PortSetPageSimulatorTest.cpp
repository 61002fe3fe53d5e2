#include "SimulatedPageTest.h"
#include "QtPrinters.h"

#include "pages/CPortSetPage.h"
#include "reader/RuntimeState.h"

#include <QAbstractButton>
#include <QDateEdit>
#include <QLabel>
#include <QRegularExpression>
#include <QTimeEdit>

#include <gtest/gtest.h>

#include <ostream>

namespace {

// The port page against the simulated reader beside the program, with the port still closed:
// the operator connects, reads model, version and supported cards, and sets the clock, which
// comes back as set, with its week day.
using PortSetPageSimulatorTest = SimulatedPageTest;

TEST_F(PortSetPageSimulatorTest, TheOperatorConnectsReadsTheReaderAndSetsItsClock)
{
    start(nullptr, false);
    auto &page = open<CPortSetPage>();
    choose(1051, "COM1");
    choose(1052, "115200");
    click(1053);
    EXPECT_EQ(harness.memo(), "Connect successful");
    ASSERT_TRUE(PortOpen);
    EXPECT_EQ(harness.infoBar().findChild<QLabel *>(QStringLiteral("id1181"))->text(), "115200");

    click(1066);
    EXPECT_EQ(harness.memo(), "OK");
    EXPECT_GE(text(1056).size(), 6);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^-?\\d+\\.0$")).match(text(1058)).hasMatch()) << text(1058).toStdString();
    for (int id = 1213; id <= 1226; ++id)
        EXPECT_TRUE(page.button(id)->isChecked()) << "card box " << id;

    const QDate date(2049, 6, 15);
    const QTime time(10, 20, 30);
    page.control<QDateEdit>(1188)->setDate(date);
    page.control<QTimeEdit>(1190)->setTime(time);
    click(1187);
    page.control<QDateEdit>(1188)->setDate(QDate(2001, 1, 1));
    page.control<QTimeEdit>(1190)->setTime(QTime(0, 0, 0));
    click(1186);
    EXPECT_EQ(harness.logLines(), QStringList({"ReadTime 0"}));
    EXPECT_EQ(page.control<QDateEdit>(1188)->date(), date);
    // The reader's clock may have run on while the test ran.
    const int drift = time.secsTo(page.control<QTimeEdit>(1190)->time());
    EXPECT_GE(drift, 0);
    EXPECT_LE(drift, 60);
    EXPECT_EQ(text(1191), QStringLiteral("星期 %1 ").arg(date.dayOfWeek()));
    EXPECT_EQ(harness.sounds(), 0);
}

} // namespace
