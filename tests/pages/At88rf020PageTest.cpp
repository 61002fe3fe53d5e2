#include "PageChecks.h"

#include "pages/CAt88rf020Page.h"

namespace {

using namespace pagechecks;
using enum CAt88rf020Page::ControlId;
constexpr auto pageField = CAt88rf020Page::pageField;

const QStringList Attempt = {"rf_antenna_sta(0)", "rf_init_type(114)", "rf_antenna_sta(1)", "rf_atqb(0)"};
const QByteArray Atqb = QByteArray::fromHex("50A020000100000000007171");

class At88rf020PageTest : public PageTest<CAt88rf020Page>
{
protected:
    void SetUp() override
    {
        open(1024);
        harness.reader().setDefault("rf_atqb", answer(Atqb));
        harness.reader().setDefault("rf_at020_read", hexAnswer("0102030405060708"));
    }
};

TEST_F(At88rf020PageTest, ReqBCyclesTheAntennaShowsThePupiAndNeverTouchesPageThree)
{
    // Every page field but page 3's.
    std::vector<int> pageFields = {Page0PupiField,       Page0LockField,      Page1FirstHalfField,
                                   Page1SecondHalfField, Page2SignatureField, Page2CounterField};
    for (int field = pageField(4); field <= pageField(31); ++field)
        pageFields.push_back(field);
    for (int field : pageFields)
        setText(field, "AA");
    setText(pageField(3), "33");
    click(ReqBButton);
    EXPECT_EQ(calls(), Attempt);
    EXPECT_EQ(harness.waits(), (std::vector<int>{20, 20, 50}));
    QString pages;
    for (int field : pageFields)
        pages += text(field);
    EXPECT_EQ(text(PupiField) + " " + pages + text(pageField(3)), "A0200001 33");

    // No tag: two attempts, each failure reported; a short answer is a failure with status 0.
    runSession(harness, m_page.get(), {{.button = ReqBButton,
                                        .answers = {{"rf_atqb", answer({}, 1)}, {"rf_atqb", answer(Atqb.left(5))}},
                                        .calls = Attempt + Attempt,
                                        .shown = {{PupiField, ""}},
                                        .memo = "Error: 0 ,function: rf_atqb"}});
    EXPECT_EQ(harness.sounds(), 2);
}

TEST_F(At88rf020PageTest, CheckLockAndCountSendTheirBytesLockAndCountShowThePageTheyChangedOrClearIt)
{
    runSession(harness, m_page.get(), {
        {.button = CheckButton, .typed = {{PasswordField, "1122334455667788"}}, .calls = {{"rf_at020_check() 1122334455667788"}}},
        {.button = LockButton, .typed = {{LockField, "11223344"}}, .calls = {{"rf_at020_lock() 11223344", "rf_at020_read(0)"}},
         .shown = {{Page0PupiField, "01020304"}, {Page0LockField, "05060708"}}},
        // Count splits the signature from the counter.
        {.button = CountButton, .typed = {{SignatureField, "112233445566"}},
         .calls = {{"rf_at020_count() 112233445566", "rf_at020_read(2)"}},
         .shown = {{Page2SignatureField, "010203040506"}, {Page2CounterField, "0708"}}, .memo = "OK"},
        // A refused lock is reported, not logged, and leaves page 0 cleared.
        {.button = LockButton, .typed = {{LockField, "00000001"}}, .answers = {{"rf_at020_lock", answer({}, 4)}},
         .calls = {{"rf_at020_lock() 00000001"}}, .shown = {{Page0PupiField, ""}}, .memo = "Error: 4 ,function: rf_at020_lock",
         .log = QStringList{}},
        // A refused count is logged; a short read of page 2 afterwards fails with status 0.
        {.button = CountButton, .answers = {{"rf_at020_count", answer({}, 4)}}, .log = {{"rf_at020_count 4"}}},
        {.button = CountButton, .answers = {{"rf_at020_read", answer(QByteArray(4, '\x01'))}}, .shown = {{Page2SignatureField, ""}},
         .memo = "Error: 0 ,function: rf_at020_read"},
    });
}

TEST_F(At88rf020PageTest, ReadCardSkipsPageThreeAndAFailureKeepsTheEarlierPages)
{
    Answers pages;
    for (int page : {0, 1, 2, 4})
        pages.push_back({"rf_at020_read", answer(QByteArray(8, char(page)))});
    pages.push_back({"rf_at020_read", answer({}, 7)});
    runSession(harness, m_page.get(), {
        {.button = ReadButton, .typed = {{pageField(3), "33"}},
         .calls = callRun("rf_at020_read(%1)", 0, 3) + callRun("rf_at020_read(%1)", 4, 32),
         .shown = {{Page1FirstHalfField, "01020304"}, {Page1SecondHalfField, "05060708"},
                   {pageField(31), "0102030405060708"}, {pageField(3), "33"}}, .memo = "OK"},
        {.button = ReadButton, .answers = pages,
         .calls = callRun("rf_at020_read(%1)", 0, 3) + QStringList{"rf_at020_read(4)", "rf_at020_read(5)"},
         .shown = {{pageField(4), "0404040404040404"}, {pageField(5), ""}, {Page2SignatureField, "020202020202"}},
         .memo = "Error: 7 ,function: Read Page: 5 error!"},
        // A short page is a failure with status 0, named by its page.
        {.button = ReadButton, .answers = {{"rf_at020_read", answer(QByteArray(7, '\x01'))}},
         .memo = "Error: 0 ,function: Read Page: 0 error!"},
    });
}

TEST_F(At88rf020PageTest, WriteCardJoinsPageOneAndPadsShortFieldsWithZeros)
{
    // The list offers pages 1 and 3 on.
    EXPECT_EQ(items(PageList).mid(0, 3), (QStringList{"1", "3", "4"}));
    EXPECT_EQ(items(PageList).size(), 30);
    runSession(harness, m_page.get(), {
        {.button = WriteButton, .typed = {{Page1FirstHalfField, "11223344"}, {Page1SecondHalfField, "55"}},
         .calls = {{"rf_at020_write(1) 1122334455000000"}}},
        {.button = WriteButton, .typed = {{PageList, "31"}, {pageField(31), "abcd"}},
         .calls = {{"rf_at020_write(31) ABCD000000000000"}}},
        {.button = WriteButton, .typed = {{PageList, "3"}, {pageField(3), ""}}, .calls = {{"rf_at020_write(3) 0000000000000000"}},
         .memo = "OK"},
        {.button = DeselectButton, .calls = {{"rf_at020_deselect()"}}, .memo = "OK"},
    });
}

} // namespace
