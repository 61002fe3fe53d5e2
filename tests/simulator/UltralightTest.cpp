#include "ReaderFixture.h"

// The page test selects, reads and writes the shipped UltraLight; here its check bytes, the read
// that wraps round past the last page, and the pages a write must not change or may only set.
class UltralightTest : public ReaderFixture {
protected:
    // The UltraLight page's selection: request all, then the UltraLight select.
    void selectUltralight()
    {
        EXPECT_EQ(request(), status::Ok);
        EXPECT_EQ(answer(api.rf_ul_select).first, status::Ok);
    }
    Bytes page(uint8_t number)
    {
        const auto [result, data] = readBlock(number);
        EXPECT_EQ(result, status::Ok);
        return Bytes(data.begin(), data.begin() + 4);
    }
};

// The check bytes, the read that wraps round; then each write in turn, on the card selected again
// after a refusal, and the page as it reads.
TEST_F(UltralightTest, CheckBytesWrapAndOneTimeBitsAndLockBitsAreOnlyEverSet)
{
    selectUltralight();
    // Check bytes: 88 ^ 04 ^ A1 ^ B2 in page 0, C3 ^ D4 ^ E5 ^ F6 = 04 in page 2.
    EXPECT_EQ(readBlock(14), std::make_pair(status::Ok, hex("0000000000000000" "04A1B29FC3D4E5F6")));
    EXPECT_EQ(readBlock(16).first, status::WrongParameter);
    selectUltralight();
    const std::tuple<uint8_t, const char *, int32_t, const char *> writes[] = {
        {1, "00000000", status::AccessDenied, nullptr}, // the serial number
        {16, "00000000", status::WrongParameter, nullptr},
        {2, "11220000", status::Ok, "04480000"}, // page 2 keeps its check and internal bytes
        {3, "F0000001", status::Ok, "F0000001"},
        {3, "0F000000", status::Ok, "FF000001"}, // one-time bits add up
        {2, "00001001", status::Ok, "04481001"}, // lock page 4 and page 8
        {2, "00000000", status::Ok, "04481001"}, // a lock bit cannot be cleared
        {4, "00000000", status::AccessDenied, nullptr},
        {8, "00000000", status::AccessDenied, nullptr},
        {5, "55555555", status::Ok, "55555555"},
        {2, "00000A00", status::Ok, nullptr}, // locking page 3 ends the one-time area
        {3, "00FF0000", status::AccessDenied, nullptr},
        {2, "0000E002", status::Ok, "04481A01"}, // frozen: the lock bits of pages 4 to 9 stay clear
        {5, "66666666", status::Ok, "66666666"},
    };
    for (const auto &[number, data, expected, after] : writes) {
        EXPECT_EQ(api.rf_ul_write(0, number, hex(data).data()), expected) << int(number) << ' ' << data;
        if (expected != status::Ok) {
            selectUltralight();
        } else if (after) {
            EXPECT_EQ(page(number), hex(after)) << int(number) << ' ' << data;
        }
    }
}
