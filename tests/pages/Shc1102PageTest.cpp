#include "PageChecks.h"

#include "pages/CShc1102Page.h"

namespace {

using namespace pagechecks;
using enum CShc1102Page::ControlId;
constexpr auto blockField = CShc1102Page::blockField;

const QStringList RequestCalls = {"rf_antenna_sta(0)", "rf_init_type(65)", "rf_antenna_sta(1)", "rf_request(82)"};

QStringList reads(int first, int last) { return callRun("rf_Shc1102_Read(%1)", first, last + 1); }

// Blocks first to last of a read, block b answering bytes b, b, b, b.
Answers blocks(int first, int last)
{
    return answerRun("rf_Shc1102_Read", first, last + 1, [](int block) { return QByteArray(4, char(block)); });
}

class Shc1102PageTest : public PageTest<CShc1102Page>
{
protected:
    void SetUp() override { open(); }

    void fillBlocks()
    {
        for (int block = 0; block < 16; ++block)
            setText(blockField(block), "AAAAAAAA");
    }
};

TEST_F(Shc1102PageTest, RequestEmptiesTheBlocksAndShowsTheTagType)
{
    fillBlocks();
    runSession(harness, m_page.get(), {
        {.button = RequestButton, .answers = {{"rf_request", hexAnswer("0211")}}, .calls = RequestCalls,
         .shown = {{TagTypeField, "0211"}, {blockField(15), ""}}, .memo = "OK"},
        {.button = RequestButton, .answers = {{"rf_request", answer({}, 1)}}, .shown = {{TagTypeField, ""}},
         .memo = "Error: 1 ,function: rf_request"},
    });
    EXPECT_EQ(harness.waits(), (std::vector<int>{20, 20}));
}

TEST_F(Shc1102PageTest, ReadCardReadsTheFreeBlocksAndTheRestOnlyWithAFullPassword)
{
    // Without a password: blocks 0 to 7, and nothing said.
    fillBlocks();
    runSession(harness, m_page.get(), {
        {.button = ReadButton, .answers = blocks(0, 7), .calls = RequestCalls + reads(0, 7),
         .shown = {{blockField(2), "02020202"}, {blockField(7), "07070707"}, {blockField(8), ""}}, .memo = ""},
        {.button = ReadButton, .typed = {{PasswordField, "12345678"}}, .answers = blocks(0, 15),
         .calls = RequestCalls + reads(0, 7) + QStringList{"rf_Shc1102_Auth() 12345678"} + reads(8, 15),
         .shown = {{blockField(8), "08080808"}, {blockField(15), "0F0F0F0F"}}, .memo = "OK"},
    });
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
        SCOPED_TRACE(c.failing);
        fillBlocks();
        for (int i = 0; i < c.nth; ++i)
            reader().script(c.failing, answer(QByteArray(4, char(i))));
        runSession(harness, m_page.get(), {{.button = ReadButton, .answers = {{c.failing, answer({}, 3)}},
                                            .shown = {{blockField(c.shownUpTo + 1), ""}}, .memo = ""}});
        EXPECT_EQ(calls().mid(calls().size() - 2), c.lastCalls);
        EXPECT_EQ(harness.logLines().last().right(2), " 3");
        EXPECT_FALSE(text(blockField(c.shownUpTo)).isEmpty());
    }

    // Write: a refused password or write is logged, not reported.
    choose(BlockList, "5");
    for (const char *failing : {"rf_Shc1102_Auth", "rf_Shc1102_Write"}) {
        runSession(harness, m_page.get(), {{.button = WriteButton, .answers = {{failing, answer({}, 2)}}, .memo = ""}});
        EXPECT_EQ(harness.logLines().last(), QString::fromLatin1(failing) + " 2");
    }
    EXPECT_EQ(harness.sounds(), 0);
}

TEST_F(Shc1102PageTest, WriteBlockSendsTheChosenFieldAfterThePassword)
{
    runSession(harness, m_page.get(), {
        {.button = WriteButton, .typed = {{PasswordField, "FFFFFFFF"}, {blockField(2), "1234"}},
         .calls = RequestCalls + QStringList{"rf_Shc1102_Auth() FFFFFFFF", "rf_Shc1102_Write(2) 12340000"}},
        {.button = WriteButton, .typed = {{blockField(15), "0a0b0c0d"}, {BlockList, "15"}},
         .calls = RequestCalls + QStringList{"rf_Shc1102_Auth() FFFFFFFF", "rf_Shc1102_Write(15) 0A0B0C0D"}},
    });
    EXPECT_TRUE(harness.messageBoxes().empty());

    // Block 8 is the password: asked first, and cancelling sends nothing.
    choose(BlockList, "8");
    harness.answerNextBox(MessageAnswer::Cancel);
    runSession(harness, m_page.get(), {{.button = WriteButton, .calls = QStringList{}}});
    ASSERT_EQ(boxTexts(harness), QStringList{"Be sure to change key?"});
    EXPECT_EQ(harness.messageBoxes()[0].buttons, MessageButtons::OkCancel);
    click(WriteButton);
    EXPECT_EQ(calls().last(), "rf_Shc1102_Write(8) 00000000");
}

} // namespace
