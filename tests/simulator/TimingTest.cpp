#include "ReaderFixture.h"
#include "ReaderTiming.h"

// In a namespace of its own, as the one unit holds every test file.
namespace timingtest {
using namespace zentrava::timing;

// The modelled reader time is what the library counts; the tests compare it with the rules, never
// with a clock.
class TimingTest : public ReaderFixture {
protected:
    Duration counted() const
    {
        const auto count = reinterpret_cast<int64_t (*)()>(dlsym(api.handle(), "ZentravaSim_ModelledNanoseconds"));
        return count ? Duration{count()} : Duration{-1};
    }
    // The time one call adds to the count.
    Duration timeOf(const std::function<int32_t()> &call, int32_t expected = status::Ok)
    {
        const Duration before = counted();
        EXPECT_EQ(call(), expected);
        return counted() - before;
    }
    void realTimingAt(int32_t baud)
    {
        ASSERT_EQ(tool("timing real").exitCode, 0);
        ASSERT_EQ(tool("baud " + std::to_string(baud)).exitCode, 0);
        api.rf_close_com();
        ASSERT_EQ(api.rf_init_com(1, baud), status::Ok);
    }
    static Duration answered(int command, int answer, int32_t baud, Duration card = Duration{0})
    {
        return wire(2 * FrameOverheadBytes + command + answer, baud) + ReaderTurnaround + card;
    }
};

TEST_F(TimingTest, ACallTakesItsFramesOnTheLineAndTheCardsOwnTime)
{
    const Bytes data(40, 0x5A);
    uint8_t answer[1024] = {};
    uint8_t len = 0;
    int32_t value = 0;
    struct Case {
        const char *call;
        std::function<int32_t()> run;
        Duration expected;
        int32_t status = status::Ok;
    };
    // At one rate: the opening at another rate shows the line's time follow it.
    const Case cases[] = {
        {"contact slot power", [&] { return api.OpenCard(0); }, answered(0, 0, 115200)},
        {"AT24 read: count out, the bytes back", [&] { return api.AT24_read(0, 0, 128, answer); }, answered(8, 128, 115200)},
        {"request: mode out, ATQA back", [&] { return request(); }, answered(1, 2, 115200)},
        {"anticollision", [&] { return api.rf_anticoll(0, 4, answer, &len); }, answered(1, 4, 115200)},
        {"select", [&] { return api.rf_select(0, answer, 4, answer + 8); }, answered(5, 1, 115200)},
        {"authentication", [&] { return authenticate(1); }, answered(8, 0, 115200, MifareAuthentication)},
        {"value read: the purse's four bytes back", [&] { return api.rf_M1_readval(0, 1, &value); }, answered(1, 4, 115200)},
        {"block read", [&] { return api.rf_M1_read(0, 1, answer, &len); }, answered(1, 16, 115200)},
        {"block write", [&] { return api.rf_M1_write(0, 1, data.data()); }, answered(17, 0, 115200, BlockWrite)},
        {"refused read: the status only", [&] { return api.rf_M1_read(0, 200, answer, &len); }, answered(1, 0, 115200),
         status::NotAuthenticated},
        {"AT24 write over two pages", [&] { return api.AT24_write(0, 20, 40, data.data()); },
         answered(48, 0, 115200, 2 * At24PageWrite)},
        {"contact card reset", [&] { return api.smartcard_rst(0, answer, &len); },
         answered(0, 14, 115200, contactReset(14, 9600))},
        {"library version: on the host only", [&] { return api.lib_ver(reinterpret_cast<uint32_t *>(answer)); }, Duration{0}},
    };
    realTimingAt(115200);
    radio('A');
    for (const Case &each : cases)
        EXPECT_EQ(timeOf(each.run, each.status), each.expected) << each.call;
}

TEST_F(TimingTest, OffByDefaultAndOpeningAtAnotherRateTimesOutOnlyWithRealTiming)
{
    EXPECT_TRUE(shown("Timing: off"));
    EXPECT_EQ(timeOf([&] { return request(); }), Duration{0});
    realTimingAt(14400);
    EXPECT_TRUE(shown("Timing: real, the reader's line at 14400 baud"));
    api.rf_close_com();
    EXPECT_EQ(timeOf([&] { return api.rf_init_com(1, 115200); }, status::TimedOut),
              wire(FrameOverheadBytes, 115200) + AnswerTimeout);
    EXPECT_EQ(timeOf([&] { return request(); }, status::PortNotOpen), Duration{0}) << "never left the host";
    EXPECT_EQ(timeOf([&] { return api.rf_init_com(1, 14400); }), answered(0, 0, 14400));
}
} // namespace timingtest
