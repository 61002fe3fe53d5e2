#include "PageChecks.h"

#include "pages/CShc1102Page.h"

namespace {

using namespace pagechecks;
using enum CShc1102Page::ControlId;
constexpr auto blockField = CShc1102Page::blockField;

const QStringList RequestCalls = {"rf_antenna_sta(0)", "rf_init_type(65)", "rf_antenna_sta(1)", "rf_request(82)"};

QStringList reads(int first, int last) { return callRun("rf_Shc1102_Read(%1)", first, last + 1); }

class Shc1102PageTest : public PageTest<CShc1102Page>
{
protected:
    void SetUp() override { open(); }

    void fillBlocks()
    {
        for (int block = 0; block < 16; ++block)
            setText(blockField(block), "AAAAAAAA");
    }
    // Block b answers bytes b, b, b, b.
    void scriptBlocks(int first, int last)
    {
        for (int block = first; block <= last; ++block)
            reader().script("rf_Shc1102_Read", answer(QByteArray(4, char(block))));
    }
    void showMemo() { harness.infoBar().showMemo(QStringLiteral("before")); }
};

TEST_F(Shc1102PageTest, RequestEmptiesTheBlocksAndShowsTheTagType)
{
    fillBlocks();
    reader().script("rf_request", hexAnswer("0211"));
    click(RequestButton);
    EXPECT_EQ(calls(), RequestCalls);
    EXPECT_EQ(harness.waits(), std::vector<int>{20});
    EXPECT_EQ((QStringList{text(TagTypeField), text(blockField(15)), harness.memo()}), (QStringList{"0211", "", "OK"}));

    reader().scriptStatus("rf_request", 1);
    click(RequestButton);
    EXPECT_EQ(text(TagTypeField) + harness.memo(), "Error: 1 ,function: rf_request");
}

TEST_F(Shc1102PageTest, ReadCardReadsTheFreeBlocksAndTheRestOnlyWithAFullPassword)
{
    // Without a password: blocks 0 to 7, and nothing said.
    showMemo();
    fillBlocks();
    scriptBlocks(0, 7);
    click(ReadButton);
    EXPECT_EQ(calls(), RequestCalls + reads(0, 7));
    EXPECT_EQ((QStringList{text(blockField(2)), text(blockField(7)), text(blockField(8)), harness.memo()}),
              (QStringList{"02020202", "07070707", "", "before"}));

    reader().clearCalls();
    setText(PasswordField, "12345678");
    scriptBlocks(0, 15);
    click(ReadButton);
    EXPECT_EQ(calls(), RequestCalls + reads(0, 7) + QStringList{"rf_Shc1102_Auth() 12345678"} + reads(8, 15));
    EXPECT_EQ((QStringList{text(blockField(8)), text(blockField(15)), harness.memo()}),
              (QStringList{"08080808", "0F0F0F0F", "OK"}));
}

TEST_F(Shc1102PageTest, TagCommandFailuresGoToTheLogOnly)
{
    setText(PasswordField, "12345678");
    reader().setDefault("rf_Shc1102_Read", hexAnswer("01020304"));
    const struct {
        const char *failing;
        int nth; // which call of it fails, from 0
        QStringList lastCalls;
        int shownUpTo; // the last block shown
    } cases[] = {
        {"rf_Shc1102_Read", 3, {"rf_Shc1102_Read(2)", "rf_Shc1102_Read(3)"}, 2},
        {"rf_Shc1102_Auth", 0, {"rf_Shc1102_Read(7)", "rf_Shc1102_Auth() 12345678"}, 7},
        {"rf_Shc1102_Read", 10, {"rf_Shc1102_Read(9)", "rf_Shc1102_Read(10)"}, 9},
    };
    for (const auto &c : cases) {
        showMemo();
        fillBlocks();
        reader().clearCalls();
        for (int i = 0; i < c.nth; ++i)
            reader().script(c.failing, answer(QByteArray(4, char(i))));
        reader().scriptStatus(c.failing, 3);
        click(ReadButton);
        SCOPED_TRACE(c.failing);
        EXPECT_EQ(calls().mid(calls().size() - 2), c.lastCalls);
        EXPECT_EQ(harness.logLines().last().right(2) + " " + harness.memo(), " 3 before");
        EXPECT_FALSE(text(blockField(c.shownUpTo)).isEmpty());
        EXPECT_EQ(text(blockField(c.shownUpTo + 1)), "");
    }
    EXPECT_EQ(harness.sounds(), 0);

    // Write: a refused password or write is logged, not reported.
    choose(BlockList, "5");
    for (const char *failing : {"rf_Shc1102_Auth", "rf_Shc1102_Write"}) {
        showMemo();
        reader().scriptStatus(failing, 2);
        click(WriteButton);
        EXPECT_EQ(harness.logLines().last() + " " + harness.memo(), QString::fromLatin1(failing) + " 2 before");
    }
    EXPECT_EQ(harness.sounds(), 0);
}

TEST_F(Shc1102PageTest, WriteBlockSendsTheChosenFieldAfterThePassword)
{
    setText(PasswordField, "FFFFFFFF");
    setText(blockField(2), "1234");
    click(WriteButton);
    setText(blockField(15), "0a0b0c0d");
    choose(BlockList, "15");
    click(WriteButton);
    EXPECT_EQ(calls(), (RequestCalls + QStringList{"rf_Shc1102_Auth() FFFFFFFF", "rf_Shc1102_Write(2) 12340000"}
                        + RequestCalls + QStringList{"rf_Shc1102_Auth() FFFFFFFF", "rf_Shc1102_Write(15) 0A0B0C0D"}));
    EXPECT_TRUE(harness.messageBoxes().empty());

    // Block 8 is the password: asked first, and cancelling sends nothing.
    reader().clearCalls();
    choose(BlockList, "8");
    harness.answerNextBox(MessageAnswer::Cancel);
    click(WriteButton);
    ASSERT_EQ(harness.messageBoxes().size(), 1u);
    EXPECT_EQ(harness.messageBoxes()[0].text + calls().join(""), "Be sure to change key?");
    EXPECT_EQ(harness.messageBoxes()[0].buttons, MessageButtons::OkCancel);
    click(WriteButton);
    EXPECT_EQ(calls().last(), "rf_Shc1102_Write(8) 00000000");
}

} // namespace
