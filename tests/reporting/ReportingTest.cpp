#include "PageHarness.h"

#include "reporting/MessageCatalogue.h"
#include "reporting/Reporting.h"
#include "reader/RuntimeState.h"

#include <gtest/gtest.h>

namespace {

TEST(ReportingTest, CallResultsFailuresAndSuccesses)
{
    PageHarness harness;
    // The Chinese build (language 0) takes every text from the Chinese column. The pass-through
    // console's test holds a success without a name.
    const struct {
        std::function<void()> report;
        const char *memo;
        int sounds;
        int language = 1;
    } cases[] = {
        {[] { ReportCallResult(0, QStringLiteral("rf_request")); }, "Communication successful ,function: rf_request", 0},
        {[] { ReportCallResult(-1, QStringLiteral("rf_halt")); }, "Error: ffffffff ,function: rf_halt", 1},
        {[] { ReportCallResult(0x100); }, "Error: 100", 1},
        {[] { ReportCallResult(1, QStringLiteral("rf_request")); }, "Error: 1 ,函数: rf_request", 1, 0},
        {[] { ReportFailure(Message(Msg::PortNotOpened)); }, "Error: 端口未打开", 1, 0},
    };
    for (const auto &c : cases) {
        const int before = harness.sounds();
        LanguageIndex = c.language;
        c.report();
        LanguageIndex = 1;
        EXPECT_EQ(std::pair(harness.memo(), harness.sounds() - before), std::pair(QString::fromUtf8(c.memo), c.sounds));
    }
    // Reports never touch the log pane.
    EXPECT_TRUE(harness.log().entries().isEmpty());
}

TEST(ReportingTest, ReportsWithoutTargetsAreDropped)
{
    PageHarness harness;
    SetReportSink(nullptr);
    ReportFailure(QStringLiteral("nowhere"));
    AppendProcessLog(QStringLiteral("rf_request"), 0);
    BeginProcessLog();
    EXPECT_EQ(harness.sounds(), 1);
}

} // namespace
