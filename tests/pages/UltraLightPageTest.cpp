#include "PageChecks.h"

#include "controls/CHexEdit.h"
#include "pages/CUltraLightPage.h"

#include <QPalette>

namespace {

using namespace pagechecks;
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
    runSession(harness, m_page.get(), {
        {.button = RequestIdleButton, .calls = {{"rf_request(38)", "rf_ul_select()"}}, .shown = {{SerialField, "04A1B2C3D4E5F6"}}},
        {.button = RequestIdleButton, .answers = {{"rf_request", answer({}, 1)}}, .calls = {{"rf_request(38)"}},
         .shown = {{SerialField, ""}}, .memo = "Error: 1 ,function: rf_request"},
    });
    EXPECT_TRUE(harness.waits().empty());

    // ReqALL empties the pages; its only pause is after the card type is set.
    const QStringList attempt = AntennaCycle + QStringList{"rf_request(82)", "rf_ul_select()"};
    fillPageFields();
    runSession(harness, m_page.get(), {{.button = RequestAllButton, .calls = attempt, .shown = {{SerialField, "04A1B2C3D4E5F6"}},
                                        .memo = "Communication successful"}});
    EXPECT_EQ(allPages(), "");
    EXPECT_EQ(harness.waits(), std::vector<int>{20});

    // Without a card it tries twice, clears the serial number and keeps the pages.
    fillPageFields();
    const Answers noCard = {{"rf_ul_select", answer({}, 0x14)}, {"rf_ul_select", answer({}, 0x14)}};
    runSession(harness, m_page.get(), {
        {.button = RequestAllButton, .answers = noCard, .calls = attempt + attempt,
         .shown = {{SerialField, ""}, {pageField(7), "AAAAAAAA"}}, .memo = "Error: 14 ,function: rf_ul_select"},
        // Halt is the Mifare halt.
        {.button = HaltButton, .calls = {{"rf_halt()"}}, .memo = "Communication successful"},
    });
    EXPECT_EQ(harness.waits(), (std::vector<int>{20, 20, 20}));
    EXPECT_EQ(harness.sounds(), 3);
}

TEST_F(UltraLightPageTest, ReadCardShowsSixteenPagesFromFourReadsAndAFailureIsNamedByItsReadNumber)
{
    QByteArray memory;
    for (int i = 0; i < 64; ++i)
        memory.append(char(i));
    const Answers reads = answerRun("rf_M1_read", 0, 4, [&memory](int read) { return memory.mid(16 * read, 16); });
    // Page 2 is split into its first and its last two bytes.
    runSession(harness, m_page.get(), {{.button = ReadButton, .answers = reads, .calls = callRun("rf_M1_read(%1)", 0, 16, 4),
                                        .shown = {{pageField(2), "0809"}}, .memo = "OK"}});
    EXPECT_EQ(allPages(), hexText(memory));

    // A failed or short read keeps the earlier pages, empties the rest and is named by its number.
    fillPageFields();
    runSession(harness, m_page.get(), {
        {.button = ReadButton, .answers = {reads[0], {"rf_M1_read", answer({}, 7)}}, .calls = callRun("rf_M1_read(%1)", 0, 8, 4),
         .memo = "Error: 7 ,function: Read Page: 1 error!"},
    });
    EXPECT_EQ(allPages(), hexText(memory.left(16)));
    fillPageFields();
    runSession(harness, m_page.get(), {
        {.button = ReadButton, .answers = {reads[0], reads[1], {"rf_M1_read", answer(QByteArray(4, '\x03'))}},
         .calls = callRun("rf_M1_read(%1)", 0, 12, 4), .memo = "Error: 0 ,function: Read Page: 2 error!"},
    });
    EXPECT_EQ(allPages(), hexText(memory.left(32)));
    EXPECT_EQ(harness.sounds(), 2);
}

TEST_F(UltraLightPageTest, WritePageSendsTheChosenPagesFieldPaddedWithZeros)
{
    // Page 2 is its two halves joined; an odd last digit is a byte of its own.
    const QStringList written = {"rf_ul_write 0"};
    runSession(harness, m_page.get(), {
        {.button = WriteButton, .typed = {{pageField(2), "12"}, {PageList, "2"}}, .calls = {{"rf_ul_write(2) 12000000"}},
         .memo = "OK", .log = written},
        {.button = WriteButton, .typed = {{LockBytesField, "0ff"}}, .calls = {{"rf_ul_write(2) 12000F0F"}}, .memo = "OK",
         .log = written},
        {.button = WriteButton, .typed = {{pageField(5), "aabbccdd"}, {PageList, "5"}}, .calls = {{"rf_ul_write(5) AABBCCDD"}},
         .memo = "OK", .log = written},
        {.button = WriteButton, .typed = {{PageList, "9"}}, .calls = {{"rf_ul_write(9) 00000000"}}, .memo = "OK", .log = written},
        {.button = WriteButton, .answers = {{"rf_ul_write", answer({}, 4)}}, .memo = "Error: 4 ,function: rf_ul_write",
         .log = {{"rf_ul_write 4"}}},
    });
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
    EXPECT_EQ(items(PageList), callRun("%1", 2, 16));
    EXPECT_EQ(text(PageList), "2");
}

} // namespace
