#include "PageHarness.h"
#include "QtPrinters.h"

#include "pages/CPortSetPage.h"
#include "reader/ReaderLibrary.h"
#include "reader/RuntimeState.h"

#include <QAbstractButton>
#include <QDateEdit>
#include <QLabel>
#include <QRegularExpression>
#include <QTimeEdit>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace {

// The port page against the simulated reader beside the program, loaded the way the program
// loads its reader library.
class PortSetPageSimulatorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_library.load(ReaderLibrary::defaultPath()))
            << "no simulated reader at " << ReaderLibrary::defaultPath().toStdString();
        PortOpen = false;
        m_page = std::make_unique<CPortSetPage>();
    }

    void TearDown() override
    {
        m_page.reset();
        if (PortOpen && ReaderApi.rf_close_com != nullptr)
            ReaderApi.rf_close_com();
    }

    QString text(int id) { return PageHarness::text(m_page.get(), id); }
    void click(int id) { PageHarness::click(m_page.get(), id); }
    void setText(int id, const QString &value) { PageHarness::setText(m_page.get(), id, value); }
    void choose(int id, const QString &item) { PageHarness::choose(m_page.get(), id, item); }

    void connectReader()
    {
        click(1053);
        ASSERT_EQ(harness.memo(), "Connect successful");
        ASSERT_TRUE(PortOpen);
    }

    // Declared in this order so that the library is freed before the harness puts back the table
    // it found.
    PageHarness harness;
    ReaderLibrary m_library;
    std::unique_ptr<CPortSetPage> m_page;
};

TEST_F(PortSetPageSimulatorTest, TheOperatorConnectsAndReadsModelVersionAndSupportedCards)
{
    choose(1051, "COM1");
    choose(1052, "115200");
    click(1053);
    EXPECT_EQ(harness.memo(), "Connect successful");
    EXPECT_EQ(harness.infoBar().findChild<QLabel *>(QStringLiteral("id1180"))->text(), "COM1");
    EXPECT_EQ(harness.infoBar().findChild<QLabel *>(QStringLiteral("id1181"))->text(), "115200");

    click(1066);
    EXPECT_EQ(harness.memo(), "OK");
    EXPECT_GE(text(1056).size(), 6);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^-?\\d+\\.0$")).match(text(1058)).hasMatch()) << text(1058).toStdString();
    for (int id = 1213; id <= 1226; ++id)
        EXPECT_TRUE(m_page->button(id)->isChecked()) << "card box " << id;

    // Connecting again drops the open port first, then opens it anew.
    click(1053);
    EXPECT_EQ(harness.memo(), "Connect successful");
    EXPECT_EQ(harness.sounds(), 1);
    EXPECT_TRUE(PortOpen);
}

// The clock goes to the reader and comes back as the operator set it, with its week day.
TEST_F(PortSetPageSimulatorTest, TheClockIsWrittenAndReadBack)
{
    connectReader();

    const QDate date(2049, 6, 15);
    const QTime time(10, 20, 30);
    m_page->control<QDateEdit>(1188)->setDate(date);
    m_page->control<QTimeEdit>(1190)->setTime(time);
    click(1187);
    EXPECT_EQ(harness.logLines(), QStringList({"WriteTime 0"}));

    m_page->control<QDateEdit>(1188)->setDate(QDate(2001, 1, 1));
    m_page->control<QTimeEdit>(1190)->setTime(QTime(0, 0, 0));
    click(1186);
    EXPECT_EQ(harness.logLines(), QStringList({"ReadTime 0"}));
    EXPECT_EQ(m_page->control<QDateEdit>(1188)->date(), date);
    // The reader's clock may have run on while the test ran.
    const int drift = time.secsTo(m_page->control<QTimeEdit>(1190)->time());
    EXPECT_GE(drift, 0);
    EXPECT_LE(drift, 60);
    EXPECT_EQ(text(1191), QStringLiteral("星期 %1 ").arg(date.dayOfWeek()));
    EXPECT_EQ(harness.sounds(), 0);
}

} // namespace
