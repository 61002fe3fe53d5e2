#include "ReaderFixture.h"

class UltralightTest : public ReaderFixture {
protected:
    // The UltraLight page's selection: request all, then the UltraLight select.
    void selectUltralight()
    {
        EXPECT_EQ(request(), status::Ok);
        EXPECT_EQ(answer(api.rf_ul_select).first, status::Ok);
    }
    int32_t writePage(uint8_t page, const char *data) { return api.rf_ul_write(0, page, hex(data).data()); }
    Bytes page(uint8_t number)
    {
        const auto [result, data] = readBlock(number);
        EXPECT_EQ(result, status::Ok);
        return Bytes(data.begin(), data.begin() + 4);
    }
};

// The page test selects, reads and writes the shipped UltraLight; here its check bytes, the read
// that wraps round past the last page, and the pages a write must not change.
TEST_F(UltralightTest, ChecksBytesWrapAndTheSerialNumberStays)
{
    selectUltralight();
    // Check bytes: 88 ^ 04 ^ A1 ^ B2 in page 0, C3 ^ D4 ^ E5 ^ F6 = 04 in page 2.
    EXPECT_EQ(readBlock(14), std::make_pair(status::Ok, hex("0000000000000000" "04A1B29FC3D4E5F6")));
    EXPECT_EQ(page(2), hex("04480000"));
    EXPECT_EQ(readBlock(16).first, status::WrongParameter);
    selectUltralight();
    EXPECT_EQ(writePage(1, "00000000"), status::AccessDenied);
    selectUltralight();
    EXPECT_EQ(writePage(16, "00000000"), status::WrongParameter);
    selectUltralight();
    // Page 2 keeps its check and internal bytes whatever is written there.
    EXPECT_EQ(writePage(2, "11220000"), status::Ok);
    EXPECT_EQ(page(2), hex("04480000"));
}

TEST_F(UltralightTest, OneTimeBitsAndLockBitsAreOnlyEverSet)
{
    selectUltralight();
    ASSERT_EQ(writePage(3, "F0000001"), status::Ok);
    ASSERT_EQ(writePage(3, "0F000000"), status::Ok);
    EXPECT_EQ(page(3), hex("FF000001"));

    ASSERT_EQ(writePage(2, "00001001"), status::Ok); // lock page 4 and page 8
    ASSERT_EQ(writePage(2, "00000000"), status::Ok);
    EXPECT_EQ(page(2), hex("04481001")) << "a lock bit cannot be cleared";
    EXPECT_EQ(writePage(4, "00000000"), status::AccessDenied);
    selectUltralight();
    EXPECT_EQ(writePage(8, "00000000"), status::AccessDenied);
    selectUltralight();
    EXPECT_EQ(writePage(5, "55555555"), status::Ok);

    // Locking page 3 ends the one-time area; freezing pages 4 to 9 stops their lock bits.
    ASSERT_EQ(writePage(2, "00000A00"), status::Ok);
    EXPECT_EQ(writePage(3, "00FF0000"), status::AccessDenied);
    selectUltralight();
    ASSERT_EQ(writePage(2, "0000E002"), status::Ok);
    EXPECT_EQ(page(2), hex("04481A01")) << "frozen lock bits stay clear";
    EXPECT_EQ(writePage(5, "66666666"), status::Ok);
}
