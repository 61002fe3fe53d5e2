#include "PageTest.h"
#include "QtPrinters.h"

#include "controls/CHexEdit.h"
#include "pages/CUltraLightPage.h"
#include "reader/RuntimeState.h"

#include <QComboBox>
#include <QPalette>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace {

constexpr int SerialField = 1079;
constexpr int ReqAll = 1077, ReqIdl = 1066, Halt = 1063;
constexpr int PageList = 1078, ReadCard = 1080, WritePage = 1081;

// The field of page p, page 2 being split into 1084 and 1085.
int pageField(int page)
{
    return page == 0 ? 1082 : page == 1 ? 1083 : 1083 + page;
}

const QStringList AntennaCycle = {"rf_antenna_sta(0)", "rf_init_type(65)", "rf_antenna_sta(1)"};

class UltraLightPageTest : public PageTest<CUltraLightPage>
{
protected:
    void SetUp() override { open(); }

    // Puts something in every page field, as an earlier read would have.
    void fillPageFields()
    {
        for (int field = 1082; field <= 1098; ++field)
            m_page->hexEdit(field)->setText(field == 1084 || field == 1085 ? "AAAA" : "AAAAAAAA");
    }
    bool pageFieldsEmpty()
    {
        for (int field = 1082; field <= 1098; ++field) {
            if (!text(field).isEmpty())
                return false;
        }
        return true;
    }
};

TEST_F(UltraLightPageTest, ReqAllEmptiesThePagesAndShowsTheSerialNumberOrTriesTwiceAndKeepsThePages)
{
    fillPageFields();

    click(ReqAll);

    EXPECT_EQ(calls(), (AntennaCycle + QStringList{"rf_request(82)", "rf_ul_select()"}));
    // The only pause is after the card type is set.
    EXPECT_EQ(harness.waits(), std::vector<int>{20});
    EXPECT_EQ(harness.logLines(), (QStringList{"rf_antenna_sta 0", "rf_init_type 0", "rf_antenna_sta 0",
                                               "rf_request 0", "rf_ul_select 0"}));
    EXPECT_TRUE(pageFieldsEmpty());
    EXPECT_EQ(text(SerialField), "04A1B2C3D4E5F6");
    EXPECT_EQ(harness.memo(), "Communication successful");

    // Without a card it tries twice, clears the serial number and keeps the pages.
    fillPageFields();
    harness.reader().clearCalls();
    harness.reader().setDefault("rf_ul_select", {0x14, {}, -1, 0});
    click(ReqAll);
    const QStringList attempt = AntennaCycle + QStringList{"rf_request(82)", "rf_ul_select()"};
    EXPECT_EQ(calls(), attempt + attempt);
    EXPECT_EQ(harness.waits(), (std::vector<int>{20, 20, 20}));
    EXPECT_EQ(harness.logLines().size(), 10);
    EXPECT_EQ(harness.memo(), "Error: 14 ,function: rf_ul_select");
    EXPECT_EQ(harness.sounds(), 2);
    EXPECT_EQ(text(SerialField), "");
    EXPECT_EQ(text(1090), "AAAAAAAA");
}

TEST_F(UltraLightPageTest, ReqIdlHasNoAntennaCycleAndNoRetryAndHaltIsTheMifareHalt)
{
    click(ReqIdl);
    EXPECT_EQ(calls(), (QStringList{"rf_request(38)", "rf_ul_select()"}));
    EXPECT_TRUE(harness.waits().empty());
    EXPECT_EQ(text(SerialField), "04A1B2C3D4E5F6");

    harness.reader().clearCalls();
    harness.reader().scriptStatus("rf_request", 1);
    click(ReqIdl);
    EXPECT_EQ(calls(), QStringList{"rf_request(38)"});
    EXPECT_EQ(harness.memo(), "Error: 1 ,function: rf_request");
    EXPECT_EQ(text(SerialField), "") << "the serial number is cleared before the request";

    // Halt is the Mifare halt.
    harness.reader().clearCalls();
    click(Halt);
    EXPECT_EQ(calls(), QStringList{"rf_halt()"});
    EXPECT_EQ(harness.memo(), "Communication successful");
}

TEST_F(UltraLightPageTest, ReadCardShowsSixteenPagesFromFourReads)
{
    QByteArray memory;
    for (int i = 0; i < 64; ++i)
        memory.append(char(i));
    for (int read = 0; read < 4; ++read)
        harness.reader().script("rf_M1_read", {0, memory.mid(16 * read, 16), -1, 0});

    click(ReadCard);

    EXPECT_EQ(calls(), (QStringList{"rf_M1_read(0)", "rf_M1_read(4)", "rf_M1_read(8)", "rf_M1_read(12)"}));
    EXPECT_EQ(text(1082), "00010203");
    EXPECT_EQ(text(1083), "04050607");
    EXPECT_EQ(text(1084), "0809");
    EXPECT_EQ(text(1085), "0A0B");
    EXPECT_EQ(text(1086), "0C0D0E0F");
    EXPECT_EQ(text(pageField(4)), "10111213");
    EXPECT_EQ(text(pageField(9)), "24252627");
    EXPECT_EQ(text(pageField(15)), "3C3D3E3F");
    EXPECT_EQ(harness.memo(), "OK");
}

TEST_F(UltraLightPageTest, AFailedOrShortReadIsNamedByItsReadNumberAndKeepsTheEarlierPages)
{
    fillPageFields();
    harness.reader().script("rf_M1_read", {0, QByteArray::fromHex("11111111222222223333444455555555"), -1, 0});
    harness.reader().script("rf_M1_read", {7, {}, -1, 0});

    click(ReadCard);

    EXPECT_EQ(calls(), (QStringList{"rf_M1_read(0)", "rf_M1_read(4)"}));
    EXPECT_EQ(harness.logLines(), (QStringList{"rf_M1_read 0", "rf_M1_read 7"}));
    EXPECT_EQ(harness.memo(), "Error: 7 ,function: Read Page: 1 error!");
    EXPECT_EQ(text(1082), "11111111");
    EXPECT_EQ(text(1086), "55555555");
    for (int page = 4; page < 16; ++page)
        EXPECT_EQ(text(pageField(page)), "") << "page " << page;

    // A short read is a failure named by its read number too.
    harness.reader().script("rf_M1_read", {0, QByteArray(16, '\x01'), -1, 0});
    harness.reader().script("rf_M1_read", {0, QByteArray(16, '\x02'), -1, 0});
    harness.reader().script("rf_M1_read", {0, QByteArray(4, '\x03'), -1, 0});
    click(ReadCard);
    EXPECT_EQ(harness.logLines().last(), "rf_M1_read 0");
    EXPECT_EQ(harness.memo(), "Error: 0 ,function: Read Page: 2 error!");
    EXPECT_EQ(harness.sounds(), 2);
    EXPECT_EQ(text(pageField(7)), "02020202");
    EXPECT_EQ(text(pageField(8)), "");
}

TEST_F(UltraLightPageTest, WritePageSendsTheChosenPagesFieldPaddedWithZeros)
{
    // Page 2 is its two halves joined; an odd last digit is a byte of its own.
    const struct {
        const char *page;
        int field;
        const char *typed, *call;
    } rows[] = {
        {"2", 1084, "12", "rf_ul_write(2) 12000000"},   {"2", 1085, "0ff", "rf_ul_write(2) 12000F0F"},
        {"5", pageField(5), "aabbccdd", "rf_ul_write(5) AABBCCDD"}, {"15", pageField(15), "01", "rf_ul_write(15) 01000000"},
        {"9", pageField(9), "", "rf_ul_write(9) 00000000"},
    };
    for (const auto &row : rows) {
        reader().clearCalls();
        setText(row.field, row.typed);
        choose(PageList, row.page);
        click(WritePage);
        EXPECT_EQ(calls(), QStringList{row.call});
        EXPECT_EQ(harness.logLines(), QStringList{"rf_ul_write 0"});
        EXPECT_EQ(harness.memo(), "OK");
    }

    // A failed write is logged and reported.
    reader().scriptStatus("rf_ul_write", 4);
    click(WritePage);
    EXPECT_EQ(harness.logLines(), QStringList{"rf_ul_write 4"});
    EXPECT_EQ(harness.memo(), "Error: 4 ,function: rf_ul_write");
}

TEST_F(UltraLightPageTest, TheLockBytesAndPageThreeAreYellowOnRedWhateverTheyHold)
{
    const QColor yellow(255, 255, 0);
    const QColor red(240, 0, 0);
    for (int field : {1085, 1086}) {
        for (const QString &content : {QString(), QStringLiteral("FFFF")}) {
            page().hexEdit(field)->setText(content);
            const QPalette palette = page().hexEdit(field)->palette();
            for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
                EXPECT_EQ(palette.color(group, QPalette::Text), yellow) << field;
                EXPECT_EQ(palette.color(group, QPalette::Base), red) << field;
            }
        }
    }
    EXPECT_NE(page().hexEdit(1084)->palette().color(QPalette::Base), red);
    EXPECT_NE(page().hexEdit(1087)->palette().color(QPalette::Base), red);
}

TEST_F(UltraLightPageTest, OpensWithItsLimitsAndHeightAndPagesZeroAndOneCannotBeChosen)
{
    EXPECT_EQ(page().templateId(), 143);
    EXPECT_EQ(page().hexEdit(1082)->GetMaxBytes(), 4);
    EXPECT_EQ(page().hexEdit(1084)->GetMaxBytes(), 2);
    EXPECT_EQ(page().hexEdit(1085)->GetMaxBytes(), 2);
    EXPECT_EQ(page().hexEdit(1098)->GetMaxBytes(), 4);
    EXPECT_TRUE(page().captionFrames().empty());
    const QRect frame = page().controlRect(UnaddressedControlId);
    EXPECT_EQ(page().contentHeight(), frame.y() + frame.height() + 50);
    EXPECT_EQ(items(PageList).first(), "2");
    EXPECT_EQ(items(PageList).last(), "15");
    EXPECT_EQ(items(PageList).size(), 14);
    EXPECT_EQ(text(PageList), "2");
}

} // namespace
