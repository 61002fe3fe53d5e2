#include "PageHarness.h"

#include "reporting/ReaderOperation.h"
#include "reporting/ReportSink.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using enum ReaderFunction;

// Keeps what reaches the information bar and the log pane, in the order it arrives.
class RecordingSink : public ReportSink
{
public:
    RecordingSink() { SetReportSink(this); }
    ~RecordingSink() override { SetReportSink(nullptr); }
    void showMemo(const QString &text) override { events << QStringLiteral("memo: ") + text; }
    void clearLog() override { events << QStringLiteral("clear"); }
    void appendLog(const QString &text, int32_t status) override { events << QStringLiteral("log: %1 %2").arg(text).arg(status); }
    void showConnection(int, int) override {}
    QStringList events;
};

// The harness's recording fake, open port and counted sound; the sink above in place of its own.
class ReaderOperationTest : public ::testing::Test
{
protected:
    PageHarness harness;
    FakeReader &reader = harness.reader();
    RecordingSink sink;
};

// Each variant once, succeeding and failing: what is logged, what is reported, in which order.
TEST_F(ReaderOperationTest, EachCallVariantLogsAndReportsInItsOwnOrder)
{
    using Variant = std::function<bool(ReaderOperation &)>;
    const Variant call = [](ReaderOperation &op) { return op.call<rf_halt>(0); };
    const Variant reportedAs = [](ReaderOperation &op) { return op.callReportedAs<rf_halt>(QStringLiteral("Read 1"), 0); };
    const Variant reportingFirst = [](ReaderOperation &op) { return op.callReportingFirst<rf_halt>(QStringLiteral("done"), 0); };
    const Variant failureFirst = [](ReaderOperation &op) { return op.callReportingFailureFirst<rf_halt>(0); };
    const Variant successOnly = [](ReaderOperation &op) { return op.callLoggingSuccessOnly<rf_halt>(QStringLiteral("done"), 0); };
    const Variant loggingOnly = [](ReaderOperation &op) { return op.callLoggingOnly<rf_halt>(0); };
    const Variant reportingOnly = [](ReaderOperation &op) { return op.callReportingOnly<rf_halt>(0); };
    // The read back differs: status 0 from the library, 7 in the log and the report.
    const Variant verified = [](ReaderOperation &op) { return op.callVerified<rf_halt>([] { return false; }, 7, 0); };
    const Variant silently = [](ReaderOperation &op) { return op.callSilently<rf_halt>(0) == 0; };
    const struct {
        const Variant &run;
        int32_t status;
        QStringList events;
        int32_t seen = -1; // the status the operation saw, when not the library's
    } rows[] = {
        {call, 0, {"clear", "log: rf_halt 0"}},
        {call, 3, {"clear", "log: rf_halt 3", "memo: Error: 3 ,function: rf_halt"}},
        {reportedAs, 3, {"clear", "log: rf_halt 3", "memo: Error: 3 ,function: Read 1"}},
        {reportingFirst, 0, {"clear", "memo: done", "log: rf_halt 0"}},
        {reportingFirst, 5, {"clear", "memo: Error: 5 ,function: rf_halt", "log: rf_halt 5"}},
        {failureFirst, 0, {"clear", "log: rf_halt 0"}},
        {failureFirst, 5, {"clear", "memo: Error: 5 ,function: rf_halt", "log: rf_halt 5"}},
        {successOnly, 0, {"clear", "memo: done", "log: rf_halt 0"}},
        {successOnly, 5, {"clear", "memo: Error: 5 ,function: rf_halt"}},
        {loggingOnly, 5, {"clear", "log: rf_halt 5"}},
        {reportingOnly, 0, {"clear"}},
        {reportingOnly, 5, {"clear", "memo: Error: 5 ,function: rf_halt"}},
        {verified, 0, {"clear", "log: rf_halt 7", "memo: Error: 7 ,function: rf_halt"}, 7},
        {silently, 5, {"clear"}},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        sink.events.clear();
        const int soundsBefore = harness.sounds();
        reader.scriptStatus("rf_halt", rows[i].status);
        ReaderOperation op;
        const int32_t seen = rows[i].seen >= 0 ? rows[i].seen : rows[i].status;
        EXPECT_EQ(rows[i].run(op), seen == 0);
        EXPECT_EQ(op.lastStatus(), seen);
        EXPECT_EQ(sink.events, rows[i].events);
        // The question sound goes with every reported failure.
        EXPECT_EQ(harness.sounds() - soundsBefore, rows[i].events.filter(QStringLiteral("memo: Error")).size());
    }
    EXPECT_EQ(reader.callNames().size(), std::size(rows));
}

// A wrong length, a status-0 answer that makes no sense and a function missing from the library
// (never called) are failures, each reported with the sound. The closed port's refusal is every
// page button's, in the port-closed table.
TEST_F(ReaderOperationTest, WrongAnswersAndAMissingFunctionAreFailures)
{
    ReaderOperation op;
    EXPECT_EQ(std::vector<bool>({op.acceptLength<rf_M1_read>(16, 16), op.acceptLength<rf_M1_read>(15, 16),
                                 op.acceptLength<rf_M1_read>(17, 16)}),
              std::vector<bool>({true, false, false}));
    op.reportWrongAnswer<ReadTime>();
    ReaderApi.rf_transceive1 = nullptr;
    uint8_t answer[4] = {}, length = 0;
    EXPECT_FALSE(op.call<rf_transceive1>(0, answer, 1, answer, &length));
    EXPECT_TRUE(reader.calls().empty());
    EXPECT_EQ(sink.events, (QStringList{"clear", "memo: Error: 0 ,function: rf_M1_read", "memo: Error: 0 ,function: rf_M1_read",
                                        "memo: Error: 0 ,function: ReadTime", "log: rf_transceive1 -1",
                                        "memo: Error: rf_transceive1 is not in the reader library"}));
    EXPECT_EQ(harness.sounds(), 4);
}

// The trace file's test holds the names and ordinals of a page's calls; here a silent call and
// its status.
TEST_F(ReaderOperationTest, TheObserverSeesSilentCallsWithTheirStatus)
{
    std::vector<ReaderCallRecord> records;
    const ReaderCallObserver previous = SetReaderCallObserver([&](const ReaderCallRecord &record) { records.push_back(record); });
    reader.scriptStatus("rf_beep", 9);
    ReaderOperation().callSilently<rf_beep>(0, 10);
    SetReaderCallObserver(previous);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(std::pair(records[0].ordinal, records[0].status), std::pair(9, 9));
}

} // namespace
