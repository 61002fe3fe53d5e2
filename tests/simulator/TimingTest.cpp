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
    struct Case {
        const char *call;
        int32_t baud; // a change of rate rewrites the scenario, which lays the cards back idle
        std::function<int32_t()> run;
        Duration expected;
        int32_t status = status::Ok;
    };
    const Case cases[] = {
        {"contact slot power", 14400, [&] { return api.OpenCard(0); }, answered(0, 0, 14400)},
        {"AT24 read: count out, the bytes back", 14400, [&] { return api.AT24_read(0, 0, 128, answer); }, answered(8, 128, 14400)},
        {"request: mode out, ATQA back", 115200, [&] { return request(); }, answered(1, 2, 115200)},
        {"anticollision", 115200, [&] { return api.rf_anticoll(0, 4, answer, &len); }, answered(1, 4, 115200)},
        {"select", 115200, [&] { return api.rf_select(0, answer, 4, answer + 8); }, answered(5, 1, 115200)},
        {"authentication", 115200, [&] { return authenticate(4); }, answered(8, 0, 115200, MifareAuthentication)},
        {"block read", 115200, [&] { return api.rf_M1_read(0, 4, answer, &len); }, answered(1, 16, 115200)},
        {"block write", 115200, [&] { return api.rf_M1_write(0, 4, data.data()); }, answered(17, 0, 115200, BlockWrite)},
        {"refused read: the status only", 115200, [&] { return api.rf_M1_read(0, 200, answer, &len); }, answered(1, 0, 115200),
         status::NotAuthenticated},
        {"contact slot power again", 115200, [&] { return api.OpenCard(0); }, answered(0, 0, 115200)},
        {"AT24 write over two pages", 115200, [&] { return api.AT24_write(0, 20, 40, data.data()); },
         answered(48, 0, 115200, 2 * At24PageWrite)},
        {"contact card reset", 115200, [&] { return api.smartcard_rst(0, answer, &len); },
         answered(0, 14, 115200, contactReset(14, 9600))},
        {"library version: on the host only", 115200, [&] { return api.lib_ver(reinterpret_cast<uint32_t *>(answer)); }, Duration{0}},
    };
    int32_t rate = 0;
    for (const Case &each : cases) {
        if (each.baud != rate) {
            realTimingAt(each.baud);
            radio('A');
            rate = each.baud;
        }
        EXPECT_EQ(timeOf(each.run, each.status), each.expected) << each.call;
    }
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
