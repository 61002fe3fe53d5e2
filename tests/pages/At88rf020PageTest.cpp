#include "PageChecks.h"

#include "pages/CAt88rf020Page.h"

namespace {

using namespace pagechecks;
using enum CAt88rf020Page::ControlId;
constexpr auto pageField = CAt88rf020Page::pageField;

// Every page field but page 3's.
const std::vector<int> PageFields = [] {
    std::vector<int> fields = {Page0PupiField,       Page0LockField,      Page1FirstHalfField,
                               Page1SecondHalfField, Page2SignatureField, Page2CounterField};
    for (int field = pageField(4); field <= pageField(31); ++field)
        fields.push_back(field);
    return fields;
}();

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

    void fillPages()
    {
        for (int field : PageFields)
            setText(field, "AA");
        setText(pageField(3), "33");
    }
};

TEST_F(At88rf020PageTest, ReqBCyclesTheAntennaShowsThePupiAndNeverTouchesPageThree)
{
    fillPages();
    click(ReqBButton);
    EXPECT_EQ(calls(), Attempt);
    EXPECT_EQ(harness.waits(), (std::vector<int>{20, 20, 50}));
    QString pages;
    for (int field : PageFields)
        pages += text(field);
    EXPECT_EQ(text(PupiField) + " " + pages + text(pageField(3)), "A0200001 33");

    // No tag: two attempts, each failure reported; a short answer is a failure with status 0.
    harness.reader().clearCalls();
    harness.reader().scriptStatus("rf_atqb", 1);
    harness.reader().script("rf_atqb", answer(Atqb.left(5)));
    click(ReqBButton);
    EXPECT_EQ(calls(), Attempt + Attempt);
    EXPECT_EQ(text(PupiField) + harness.memo(), "Error: 0 ,function: rf_atqb");
    EXPECT_EQ(harness.sounds(), 2);
}

TEST_F(At88rf020PageTest, CheckLockAndCountSendTheirBytesLockAndCountShowThePageTheyChangedOrClearIt)
{
    setText(PasswordField, "1122334455667788");
    click(CheckButton);
    setText(LockField, "11223344");
    click(LockButton);
    setText(SignatureField, "112233445566");
    click(CountButton);
    EXPECT_EQ(calls(), (QStringList{"rf_at020_check() 1122334455667788", "rf_at020_lock() 11223344", "rf_at020_read(0)",
                                    "rf_at020_count() 112233445566", "rf_at020_read(2)"}));
    EXPECT_EQ(harness.memo(), "OK");
    // Count splits the signature from the counter.
    EXPECT_EQ((QStringList{text(Page0PupiField), text(Page0LockField), text(Page2SignatureField),
                           text(Page2CounterField)}),
              (QStringList{"01020304", "05060708", "010203040506", "0708"}));

    // A refused lock is reported, not logged, and leaves page 0 cleared.
    setText(LockField, "00000001");
    harness.reader().clearCalls();
    harness.reader().scriptStatus("rf_at020_lock", 4);
    click(LockButton);
    EXPECT_EQ(calls(), QStringList{"rf_at020_lock() 00000001"});
    EXPECT_EQ(harness.logLines().join(",") + text(Page0PupiField) + harness.memo(), "Error: 4 ,function: rf_at020_lock");

    // A refused count is logged; a short read of page 2 afterwards fails with status 0.
    setText(SignatureField, "112233445566");
    harness.reader().scriptStatus("rf_at020_count", 4);
    click(CountButton);
    EXPECT_EQ(harness.logLines(), QStringList{"rf_at020_count 4"});
    harness.reader().script("rf_at020_read", answer(QByteArray(4, '\x01')));
    click(CountButton);
    EXPECT_EQ(text(Page2SignatureField) + harness.memo(), "Error: 0 ,function: rf_at020_read");
}

TEST_F(At88rf020PageTest, ReadCardSkipsPageThreeAndAFailureKeepsTheEarlierPages)
{
    setText(pageField(3), "33");
    click(ReadButton);
    EXPECT_EQ(calls(), callRun("rf_at020_read(%1)", 0, 3) + callRun("rf_at020_read(%1)", 4, 32));
    EXPECT_EQ((QStringList{text(Page1FirstHalfField), text(Page1SecondHalfField), text(pageField(31)),
                           text(pageField(3)), harness.memo()}),
              (QStringList{"01020304", "05060708", "0102030405060708", "33", "OK"}));

    harness.reader().clearCalls();
    for (int page : {0, 1, 2, 4})
        harness.reader().script("rf_at020_read", answer(QByteArray(8, char(page))));
    harness.reader().scriptStatus("rf_at020_read", 7);
    click(ReadButton);
    EXPECT_EQ(calls().size(), 5);
    EXPECT_EQ((QStringList{text(pageField(4)), text(pageField(5)), text(Page2SignatureField), harness.memo()}),
              (QStringList{"0404040404040404", "", "020202020202", "Error: 7 ,function: Read Page: 5 error!"}));

    // A short page is a failure with status 0, named by its page.
    harness.reader().script("rf_at020_read", answer(QByteArray(7, '\x01')));
    click(ReadButton);
    EXPECT_EQ(harness.memo(), "Error: 0 ,function: Read Page: 0 error!");
}

TEST_F(At88rf020PageTest, WriteCardJoinsPageOneAndPadsShortFieldsWithZeros)
{
    setText(Page1FirstHalfField, "11223344");
    setText(Page1SecondHalfField, "55");
    click(WriteButton);
    choose(PageList, "31");
    setText(pageField(31), "abcd");
    click(WriteButton);
    choose(PageList, "3");
    setText(pageField(3), "");
    click(WriteButton);
    EXPECT_EQ(calls(), (QStringList{"rf_at020_write(1) 1122334455000000", "rf_at020_write(31) ABCD000000000000",
                                    "rf_at020_write(3) 0000000000000000"}));
    EXPECT_EQ(harness.memo(), "OK");
    harness.infoBar().showMemo(QString());
    click(DeselectButton);
    EXPECT_EQ(calls().last() + " " + harness.memo(), "rf_at020_deselect() OK");

    // The list offers pages 1 and 3 on.
    EXPECT_EQ(items(PageList).mid(0, 3), (QStringList{"1", "3", "4"}));
    EXPECT_EQ(items(PageList).size(), 30);
}

} // namespace
