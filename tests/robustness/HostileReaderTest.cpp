#include "HostileDriver.h"

#include "HostileAnswerPlan.h"
#include "PageHarness.h"

#include "pages/CPortSetPage.h"

#include <QDateEdit>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>

namespace {

using Kind = HostileAnswerPlan::Kind;

} // namespace

// The lying reader claims what it likes but writes only within the buffer the contract offers:
// it is the program under test that must not read beyond it.
TEST(HostileReader, WritesOnlyWithinTheOfferedBufferWhateverLengthItClaims)
{
    FakeReader reader;
    HostileAnswerPlan plan(7);
    plan.install(reader);
    AnswerBuffer buffer{};
    uint8_t length = 0;
    const struct {
        const char *name;
        Kind kind;
        std::function<void()> call;
        int offered;
        int minimumLength, maximumLength; // -1: no length comes back
    } rows[] = {
        {"ReadTime", Kind::Overlong, [&] { ReaderApi.ReadTime(0, buffer.data(), &length); }, 7, 8, 255},
        {"ReadTime", Kind::LongestLength, [&] { ReaderApi.ReadTime(0, buffer.data(), &length); }, 7, 255, 255},
        {"rf_M1_read", Kind::LongestLength, [&] { ReaderApi.rf_M1_read(0, 4, buffer.data(), &length); }, 255, 255, 255},
        {"Srf55vp_Write_Reread", Kind::Overlong,
         [&] { length = 8; ReaderApi.Srf55vp_Write_Reread(0, buffer.data(), 1, buffer.data(), buffer.data(), &length); }, 8, 9, 255},
        {"rf_request", Kind::LongestLength, [&] { ReaderApi.rf_request(0, 0x52, buffer.data()); }, 2, -1, -1},
        {"AT24_read", Kind::Garbage, [&] { ReaderApi.AT24_read(0, 0, 5, buffer.data()); }, 5, -1, -1},
        {"rf_anticoll", Kind::EmptySuccess, [&] { ReaderApi.rf_anticoll(0, 4, buffer.data(), &length); }, 0, 0, 0},
    };
    for (const auto &row : rows) {
        plan.script(QString::fromLatin1(row.name), {row.kind});
        buffer.fill(0xEE);
        length = 0xEE;
        row.call();
        EXPECT_TRUE(std::all_of(buffer.begin() + row.offered, buffer.end(), [](uint8_t byte) { return byte == 0xEE; }))
            << row.name;
        if (row.minimumLength >= 0) {
            EXPECT_GE(length, row.minimumLength) << row.name;
            EXPECT_LE(length, row.maximumLength) << row.name;
        }
    }
}

// A clock answer that claims more than the 7 clock bytes is no clock, even when its first 7
// bytes read as a date: a success would say nothing, so the driver cannot tell.
TEST(HostileReader, AClockAnswerLongerThanTheClockIsAFailedRead)
{
    PageHarness harness;
    CPortSetPage page;
    const QDate before = page.control<QDateEdit>(CPortSetPage::ClockDate)->date();
    harness.reader().script(QStringLiteral("ReadTime"), {0, QByteArray::fromHex("24022904235958"), 255, 0});
    PageHarness::click(&page, CPortSetPage::ClockRead);
    EXPECT_EQ(harness.memo(), QStringLiteral("Error: 0 ,function: ReadTime"));
    EXPECT_EQ(page.control<QDateEdit>(CPortSetPage::ClockDate)->date(), before);
}

// Every button of every page under a lying reader library: no crash, no sanitizer report, and
// each press ends in the reports its operation owes. The long run is the hostile_long target.
TEST(HostileReader, EveryButtonOfEveryPageSurvivesALyingLibrary)
{
    const HostileRunFigures figures = RunHostileDriver({1, 2});
    EXPECT_GT(figures.operations, 250);
    EXPECT_TRUE(figures.failures.isEmpty()) << figures.failures.join(QLatin1Char('\n')).toStdString();
}
