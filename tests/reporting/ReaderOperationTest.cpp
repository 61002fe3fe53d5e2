#include "FakeReader.h"

#include "reader/RuntimeState.h"
#include "reporting/ReaderOperation.h"
#include "reporting/ReportSink.h"
#include "reporting/UserPrompts.h"

#include <gtest/gtest.h>

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
    void appendLog(const QString &text, int32_t status) override
    {
        events << QStringLiteral("log: %1 %2").arg(text).arg(status);
    }
    void showConnection(int, int) override {}
    QStringList events;
};

class ReaderOperationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetRuntimeState();
        PortOpen = true;
        m_previousSound = SetQuestionSoundHandler([this] { ++sounds; });
    }
    void TearDown() override
    {
        SetQuestionSoundHandler(m_previousSound);
        ResetRuntimeState();
    }

    FakeReader reader;
    RecordingSink sink;
    int sounds = 0;

private:
    SoundHandler m_previousSound;
};

// Each variant once, succeeding and failing: what is logged, what is reported, in which order.
TEST_F(ReaderOperationTest, EachCallVariantLogsAndReportsInItsOwnOrder)
{
    const struct {
        const char *variant;
        int32_t status;
        QStringList events;
        int sounds;
    } rows[] = {
        {"call", 0, {"clear", "log: rf_halt 0"}, 0},
        {"call", 3, {"clear", "log: rf_halt 3", "memo: Error: 3 ,function: rf_halt"}, 1},
        {"callReportedAs", 3, {"clear", "log: rf_halt 3", "memo: Error: 3 ,function: Read 1"}, 1},
        {"callReportingFirst", 0, {"clear", "memo: done", "log: rf_halt 0"}, 0},
        {"callReportingFirst", 5, {"clear", "memo: Error: 5 ,function: rf_halt", "log: rf_halt 5"}, 1},
        {"callLoggingSuccessOnly", 0, {"clear", "memo: done", "log: rf_halt 0"}, 0},
        {"callLoggingSuccessOnly", 5, {"clear", "memo: Error: 5 ,function: rf_halt"}, 1},
        {"callUnlogged", 5, {"clear"}, 0},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.variant) + " status " + std::to_string(row.status));
        sink.events.clear();
        sounds = 0;
        reader.scriptStatus("rf_halt", row.status);
        ReaderOperation op;
        const QString variant = QString::fromLatin1(row.variant);
        bool succeeded = false;
        if (variant == "call")
            succeeded = op.call<rf_halt>(0);
        else if (variant == "callReportedAs")
            succeeded = op.callReportedAs<rf_halt>(QStringLiteral("Read 1"), 0);
        else if (variant == "callReportingFirst")
            succeeded = op.callReportingFirst<rf_halt>(QStringLiteral("done"), 0);
        else if (variant == "callLoggingSuccessOnly")
            succeeded = op.callLoggingSuccessOnly<rf_halt>(QStringLiteral("done"), 0);
        else
            succeeded = op.callUnlogged<rf_halt>(0) == 0;
        EXPECT_EQ(succeeded, row.status == 0);
        EXPECT_EQ(op.lastStatus(), row.status);
        EXPECT_EQ(sink.events, row.events);
        EXPECT_EQ(sounds, row.sounds);
    }
    EXPECT_EQ(reader.callNames().size(), std::size(rows));
}

TEST_F(ReaderOperationTest, AWrongLengthAStatusZeroNonsenseAndAClosedPortAreFailures)
{
    ReaderOperation op;
    EXPECT_TRUE(op.acceptLength<rf_M1_read>(16, 16));
    EXPECT_FALSE(op.acceptLength<rf_M1_read>(15, 16));
    op.reportWrongAnswer<ReadTime>();
    PortOpen = false;
    EXPECT_FALSE(op.requirePortOpen());
    EXPECT_EQ(sink.events, (QStringList{"clear", "memo: Error: 0 ,function: rf_M1_read",
                                        "memo: Error: 0 ,function: ReadTime", "memo: Error: Port did't opened"}));
    EXPECT_EQ(sounds, 3);
}

TEST_F(ReaderOperationTest, AFunctionMissingFromTheLibraryIsReportedAndNeverCalled)
{
    ReaderApi.rf_transceive1 = nullptr;
    ReaderOperation op;
    uint8_t answer[4] = {};
    uint8_t length = 0;
    EXPECT_FALSE(op.call<rf_transceive1>(0, answer, 1, answer, &length));
    EXPECT_TRUE(reader.calls().empty());
    EXPECT_EQ(sink.events.last(), "memo: Error: rf_transceive1 is not in the reader library");
}

TEST_F(ReaderOperationTest, TheObserverSeesEveryCallWithTheListsOrdinalAndName)
{
    std::vector<ReaderCallRecord> records;
    const ReaderCallObserver previous = SetReaderCallObserver([&](const ReaderCallRecord &record) { records.push_back(record); });
    reader.scriptStatus("rf_beep", 9);
    ReaderOperation op;
    op.call<rf_halt>(0);
    op.callUnlogged<rf_beep>(0, 10);
    SetReaderCallObserver(previous);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].ordinal, 18);
    EXPECT_STREQ(records[0].name, "rf_halt");
    EXPECT_EQ(records[1].ordinal, 9);
    EXPECT_EQ(records[1].status, 9);
}

} // namespace
