#include "PageChecks.h"

#include "controls/CHexEdit.h"
#include "pages/CUltraLightPage.h"

#include <QPalette>

namespace {

using enum CUltraLightPage::ControlId;
constexpr auto pageField = CUltraLightPage::pageField;

const QStringList AntennaCycle = {"rf_antenna_sta(0)", "rf_init_type(65)", "rf_antenna_sta(1)"};

class UltraLightPageTest : public PageTest<CUltraLightPage>
{
protected:
    void SetUp() override { open(); }

    // Puts something in every page field, as an earlier read would have.
    void fillPageFields()
    {
        for (int field = FirstPageField; field <= LastPageField; ++field)
            m_page->hexEdit(field)->setText(field == pageField(2) || field == LockBytesField ? "AAAA" : "AAAAAAAA");
    }
    QString allPages()
    {
        QString pages;
        for (int field = FirstPageField; field <= LastPageField; ++field)
            pages += text(field);
        return pages;
    }
};

TEST_F(UltraLightPageTest, ReqIdlAndReqAllShowTheSerialNumberAndOnlyReqAllCyclesTheFieldAndTriesTwice)
{
    // ReqIDL has no antenna cycle, no pause and no retry; the serial number goes before the request.
    click(RequestIdleButton);
    EXPECT_EQ(calls(), (QStringList{"rf_request(38)", "rf_ul_select()"}));
    EXPECT_EQ(text(SerialField), "04A1B2C3D4E5F6");
    reader().clearCalls();
    reader().scriptStatus("rf_request", 1);
    click(RequestIdleButton);
    EXPECT_EQ(calls(), QStringList{"rf_request(38)"});
    EXPECT_EQ(text(SerialField) + harness.memo(), "Error: 1 ,function: rf_request");
    EXPECT_TRUE(harness.waits().empty());

    const QStringList attempt = AntennaCycle + QStringList{"rf_request(82)", "rf_ul_select()"};
    fillPageFields();
    reader().clearCalls();
    click(RequestAllButton);
    EXPECT_EQ(calls(), attempt);
    // The only pause is after the card type is set.
    EXPECT_EQ(harness.waits(), std::vector<int>{20});
    EXPECT_EQ(allPages() + text(SerialField) + " " + harness.memo(), "04A1B2C3D4E5F6 Communication successful");

    // Without a card it tries twice, clears the serial number and keeps the pages.
    fillPageFields();
    reader().clearCalls();
    reader().scriptStatus("rf_ul_select", 0x14);
    reader().scriptStatus("rf_ul_select", 0x14);
    click(RequestAllButton);
    EXPECT_EQ(calls(), attempt + attempt);
    EXPECT_EQ(harness.waits(), (std::vector<int>{20, 20, 20}));
    EXPECT_EQ(text(SerialField) + text(pageField(7)) + " " + harness.memo(), "AAAAAAAA Error: 14 ,function: rf_ul_select");
    EXPECT_EQ(harness.sounds(), 3);

    // Halt is the Mifare halt.
    reader().clearCalls();
    click(HaltButton);
    EXPECT_EQ(calls(), QStringList{"rf_halt()"});
    EXPECT_EQ(harness.memo(), "Communication successful");
}

TEST_F(UltraLightPageTest, ReadCardShowsSixteenPagesFromFourReadsAndAFailureIsNamedByItsReadNumber)
{
    QByteArray memory;
    for (int i = 0; i < 64; ++i)
        memory.append(char(i));
    for (int read = 0; read < 4; ++read)
        reader().script("rf_M1_read", {0, memory.mid(16 * read, 16), -1, 0});
    click(ReadButton);
    EXPECT_EQ(calls(), (QStringList{"rf_M1_read(0)", "rf_M1_read(4)", "rf_M1_read(8)", "rf_M1_read(12)"}));
    // Page 2 is split into its first and its last two bytes.
    EXPECT_EQ(allPages(), QString::fromLatin1(memory.toHex().toUpper()));
    EXPECT_EQ(text(pageField(2)), "0809");
    EXPECT_EQ(harness.memo(), "OK");

    // A failed or short read keeps the earlier pages, empties the rest and is named by its number.
    const struct {
        int read;
        FakeReader::Answer failing;
        const char *memo;
    } rows[] = {{1, {7, {}, -1, 0}, "Error: 7 ,function: Read Page: 1 error!"},
                {2, {0, QByteArray(4, '\x03'), -1, 0}, "Error: 0 ,function: Read Page: 2 error!"}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.memo);
        fillPageFields();
        reader().clearCalls();
        for (int read = 0; read < row.read; ++read)
            reader().script("rf_M1_read", {0, memory.mid(16 * read, 16), -1, 0});
        reader().script("rf_M1_read", row.failing);
        click(ReadButton);
        EXPECT_EQ(calls().size(), row.read + 1);
        EXPECT_EQ(harness.memo(), row.memo);
        EXPECT_EQ(allPages(), QString::fromLatin1(memory.left(16 * row.read).toHex().toUpper()));
    }
    EXPECT_EQ(harness.sounds(), 2);
}

TEST_F(UltraLightPageTest, WritePageSendsTheChosenPagesFieldPaddedWithZeros)
{
    // Page 2 is its two halves joined; an odd last digit is a byte of its own.
    const struct {
        const char *page;
        int field;
        const char *typed, *call;
    } rows[] = {
        {"2", pageField(2), "12", "rf_ul_write(2) 12000000"},
        {"2", LockBytesField, "0ff", "rf_ul_write(2) 12000F0F"},
        {"5", pageField(5), "aabbccdd", "rf_ul_write(5) AABBCCDD"},
        {"9", pageField(9), "", "rf_ul_write(9) 00000000"},
    };
    for (const auto &row : rows) {
        reader().clearCalls();
        setText(row.field, row.typed);
        choose(PageList, row.page);
        click(WriteButton);
        EXPECT_EQ(calls(), QStringList{row.call});
        EXPECT_EQ((QStringList{harness.logLines().join(","), harness.memo()}), (QStringList{"rf_ul_write 0", "OK"}));
    }
    reader().scriptStatus("rf_ul_write", 4);
    click(WriteButton);
    EXPECT_EQ((QStringList{harness.logLines().join(","), harness.memo()}),
              (QStringList{"rf_ul_write 4", "Error: 4 ,function: rf_ul_write"}));
}

TEST_F(UltraLightPageTest, OpensWithLockBytesAndPageThreeYellowOnRedItsLimitsAndNoPageZeroOrOne)
{
    const QColor yellow(255, 255, 0), red(240, 0, 0);
    for (int field : {int(LockBytesField), pageField(3)}) {
        for (const QString &content : {QString(), QStringLiteral("FFFF")}) {
            page().hexEdit(field)->setText(content);
            const QPalette palette = page().hexEdit(field)->palette();
            for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
                EXPECT_EQ((std::pair{palette.color(group, QPalette::Text), palette.color(group, QPalette::Base)}),
                          (std::pair{yellow, red})) << field;
        }
    }
    for (int field : {pageField(2), pageField(4)})
        EXPECT_NE(page().hexEdit(field)->palette().color(QPalette::Base), red) << field;

    for (auto [field, bytes] : {std::pair{pageField(0), 4}, {pageField(2), 2}, {int(LockBytesField), 2}, {pageField(15), 4}})
        EXPECT_EQ(page().hexEdit(field)->GetMaxBytes(), bytes) << field;
    // Pages 0 and 1 cannot be chosen.
    EXPECT_EQ(items(PageList), pagechecks::callRun("%1", 2, 16));
    EXPECT_EQ(text(PageList), "2");
}

} // namespace
