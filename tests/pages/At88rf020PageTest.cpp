#include "PageTest.h"
#include "QtPrinters.h"

#include "pages/CAt88rf020Page.h"

#include <gtest/gtest.h>

namespace {

constexpr int Pupi = 1006, Password = 1014, Lock = 1015, Signature = 1016, PageList = 1045;
constexpr int ReqB = 1011, Check = 1012, LockButton = 1013, Count = 1043, ReadCard = 1044, WriteCard = 1046,
              Deselect = 1047;
constexpr int Page3 = 1206;

// Every page field but page 3's.
const std::vector<int> PageFields = [] {
    std::vector<int> fields = {1200, 1201, 1202, 1203, 1204, 1205};
    for (int field = 1207; field <= 1234; ++field)
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
        harness.reader().setDefault("rf_atqb", {0, Atqb, -1, 0});
        harness.reader().setDefault("rf_at020_read", {0, QByteArray::fromHex("0102030405060708"), -1, 0});
    }

    void fillPages()
    {
        for (int field : PageFields)
            setText(field, "AA");
        setText(Page3, "33");
    }
};

TEST_F(At88rf020PageTest, ReqBCyclesTheAntennaShowsThePupiAndNeverTouchesPageThree)
{
    fillPages();
    click(ReqB);
    EXPECT_EQ(calls(), Attempt);
    EXPECT_EQ(harness.waits(), (std::vector<int>{20, 20, 50}));
    EXPECT_EQ(text(Pupi), "A0200001");
    for (int field : PageFields)
        EXPECT_EQ(text(field), "") << field;
    EXPECT_EQ(text(Page3), "33");

    // No tag: two attempts, each failure reported; a short answer is a failure with status 0.
    harness.reader().clearCalls();
    harness.reader().script("rf_atqb", {1, {}, -1, 0});
    harness.reader().script("rf_atqb", {0, Atqb.left(5), -1, 0});
    click(ReqB);
    EXPECT_EQ(calls(), Attempt + Attempt);
    EXPECT_EQ(harness.memo(), "Error: 0 ,function: rf_atqb");
    EXPECT_EQ(harness.sounds(), 2);
    EXPECT_EQ(text(Pupi), "");
}

TEST_F(At88rf020PageTest, CheckLockAndCountRefuseShortFieldsAndSendTheirBytes)
{
    struct Case {
        int field, button;
        QString shortValue, value;
        QString message, sent;
    };
    const Case cases[] = {
        {Password, Check, "11223344", "1122334455667788", "Input 8 byte in key text please!",
         "rf_at020_check() 1122334455667788"},
        {Lock, LockButton, "112233", "11223344", "Input 4 byte in Lock text please!", "rf_at020_lock() 11223344"},
        {Signature, Count, "1122", "112233445566", "Input 6 byte in Signature text please!",
         "rf_at020_count() 112233445566"},
    };
    for (const Case &c : cases) {
        harness.reader().clearCalls();
        setText(c.field, c.shortValue);
        click(c.button);
        SCOPED_TRACE(c.sent.toStdString());
        EXPECT_TRUE(calls().isEmpty());
        ASSERT_FALSE(harness.messageBoxes().empty());
        EXPECT_EQ(harness.messageBoxes().back().text, c.message);
        setText(c.field, c.value);
        click(c.button);
        EXPECT_EQ(calls().value(0), c.sent);
        EXPECT_EQ(harness.memo(), "OK");
    }
    // Lock and Count show the page they changed; Count splits the signature from the counter.
    EXPECT_EQ((QStringList{text(1200), text(1201), text(1204), text(1205)}),
              (QStringList{"01020304", "05060708", "010203040506", "0708"}));
}

TEST_F(At88rf020PageTest, ARefusedLockIsReportedUnloggedAndLeavesPageZeroCleared)
{
    setText(1200, "AAAAAAAA");
    setText(Lock, "00000001");
    harness.reader().scriptStatus("rf_at020_lock", 4);
    click(LockButton);
    EXPECT_EQ(calls(), QStringList{"rf_at020_lock() 00000001"});
    EXPECT_TRUE(harness.logLines().isEmpty());
    EXPECT_EQ(harness.memo(), "Error: 4 ,function: rf_at020_lock");
    EXPECT_EQ(text(1200), "");

    // A refused count is logged; a short read of page 2 afterwards fails with status 0.
    setText(Signature, "112233445566");
    harness.reader().scriptStatus("rf_at020_count", 4);
    click(Count);
    EXPECT_EQ(harness.logLines(), QStringList{"rf_at020_count 4"});
    harness.reader().script("rf_at020_read", {0, QByteArray(4, '\x01'), -1, 0});
    click(Count);
    EXPECT_EQ(harness.memo(), "Error: 0 ,function: rf_at020_read");
    EXPECT_EQ(text(1204), "");
}

TEST_F(At88rf020PageTest, ReadCardSkipsPageThreeAndAFailureKeepsTheEarlierPages)
{
    setText(Page3, "33");
    click(ReadCard);
    QStringList expected;
    for (int page = 0; page < 32; ++page) {
        if (page != 3)
            expected << QString("rf_at020_read(%1)").arg(page);
    }
    EXPECT_EQ(calls(), expected);
    EXPECT_EQ((QStringList{text(1202), text(1203), text(1234), text(Page3), harness.memo()}),
              (QStringList{"01020304", "05060708", "0102030405060708", "33", "OK"}));

    harness.reader().clearCalls();
    for (int page : {0, 1, 2, 4})
        harness.reader().script("rf_at020_read", {0, QByteArray(8, char(page)), -1, 0});
    harness.reader().script("rf_at020_read", {7, {}, -1, 0});
    click(ReadCard);
    EXPECT_EQ(calls().size(), 5);
    EXPECT_EQ(harness.memo(), "Error: 7 ,function: Read Page: 5 error!");
    EXPECT_EQ((QStringList{text(1207), text(1208), text(1204)}), (QStringList{"0404040404040404", "", "020202020202"}));

    // A short page is a failure with status 0, named by its page.
    harness.reader().script("rf_at020_read", {0, QByteArray(7, '\x01'), -1, 0});
    click(ReadCard);
    EXPECT_EQ(harness.memo(), "Error: 0 ,function: Read Page: 0 error!");
}

TEST_F(At88rf020PageTest, WriteCardJoinsPageOneAndPadsShortFieldsWithZeros)
{
    setText(1202, "11223344");
    setText(1203, "55");
    click(WriteCard);
    choose(PageList, "31");
    setText(1234, "abcd");
    click(WriteCard);
    choose(PageList, "3");
    setText(Page3, "");
    click(WriteCard);
    EXPECT_EQ(calls(), (QStringList{"rf_at020_write(1) 1122334455000000", "rf_at020_write(31) ABCD000000000000",
                                    "rf_at020_write(3) 0000000000000000"}));
    EXPECT_EQ(harness.memo(), "OK");

    click(Deselect);
    EXPECT_EQ(calls().last(), "rf_at020_deselect()");
    EXPECT_EQ(harness.memo(), "OK");
}

TEST_F(At88rf020PageTest, TheListOffersPagesOneAndThreeOn)
{
    EXPECT_EQ(items(PageList).mid(0, 3), (QStringList{"1", "3", "4"}));
    EXPECT_EQ(items(PageList).size(), 30);
}

} // namespace
