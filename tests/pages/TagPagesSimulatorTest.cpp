#include "SimulatedPageTest.h"

#include "pages/CAt88rf020Page.h"
#include "pages/CShc1102Page.h"
#include "pages/CSr176Page.h"
#include "pages/CSrix4kPage.h"
#include "pages/CTrh1064Page.h"

namespace {

// The tag pages against the simulated reader beside the program: the AT88RF020, SR176 and
// SRIX4K in the reader's own field, the TRH1064 and SHC1102 each alone in a field of its own.
// Their main buttons once each; the lock and count calls are the page tests', the chips' rules
// for them the simulator's.
using TagPagesSimulatorTest = SimulatedPageTest;

// The TRH1064 alone in the field (the built-in field also holds a type B processor card, which
// would answer the request first), with configuration 10 in page 0.
const char *const Trh1064Field = R"({"field": [{"type": "trh1064", "Card": {"UID": "10640000A1B2C3D4"}, "Key": "FFFFFFFFFFFFFFFF",
                                                  "blocks": {"0": "5452483130363410"}}]})";

TEST_F(TagPagesSimulatorTest, TheTrh1064PageReadsTheTagAndWritesPageThreeAfterTheKey)
{
    using enum CTrh1064Page::ControlId;
    start(Trh1064Field);
    open<CTrh1064Page>();

    click(SearchButton);
    EXPECT_EQ(text(SerialField), "10640000A1B2C3D4");

    click(ReadButton);
    EXPECT_EQ(text(Page0Field), "5452483130363410");

    choose(PageList, "Page3");
    setText(KeyField, "ffffffffffffffff");
    click(AuthenticateButton);
    // Configuration 10: page 3 changes after the key.
    setText(Page3Field, "0000000000000007");
    click(WriteButton);
    setText(Page3Field, "");
    click(ReadButton);
    EXPECT_EQ(text(Page3Field), "0000000000000007");
}

TEST_F(TagPagesSimulatorTest, TheShc1102PageReadsAndWritesWithThePassword)
{
    using enum CShc1102Page::ControlId;
    constexpr auto blockField = CShc1102Page::blockField;
    start(R"({"field": [{"type": "shc1102", "Card": {"UID": "11020000A1B2C3D4"}, "Password": "FFFFFFFF",
                         "blocks": {"2": "53484331", "9": "50524F54"}}]})");
    open<CShc1102Page>();

    click(RequestButton);
    EXPECT_EQ(text(TagTypeField), "0211");

    setText(PasswordField, "ffffffff");
    click(ReadButton);
    EXPECT_EQ((QStringList{text(blockField(0)), text(blockField(2)), text(blockField(8)), text(blockField(9))}),
              (QStringList{"11020000", "53484331", "FFFFFFFF", "50524F54"}));

    choose(BlockList, "5");
    setText(blockField(5), "12345678");
    click(WriteButton);
    setText(blockField(5), "");
    click(ReadButton);
    EXPECT_EQ(text(blockField(5)), "12345678");
}

TEST_F(TagPagesSimulatorTest, At88rf020ReadsAndWritesAfterThePassword)
{
    using enum CAt88rf020Page::ControlId;
    start(nullptr);
    open<CAt88rf020Page>(1024);
    click(ReqBButton);
    EXPECT_EQ(text(PupiField), "A0200001");
    click(ReadButton);
    EXPECT_EQ((QStringList{text(Page0PupiField), text(CAt88rf020Page::pageField(4))}),
              (QStringList{"A0200001", hexOf("AT88RF02")}));

    setText(PasswordField, "ffffffffffffffff");
    click(CheckButton);
    choose(PageList, "9");
    setText(CAt88rf020Page::pageField(9), "c0ffee");
    click(WriteButton);
    click(ReadButton);
    EXPECT_EQ(text(CAt88rf020Page::pageField(9)), "C0FFEE0000000000");
}

TEST_F(TagPagesSimulatorTest, Sr176ReadsAndWrites)
{
    using enum CSr176Page::ControlId;
    start(nullptr);
    open<CSr176Page>();
    click(RequestButton);
    EXPECT_EQ(text(ChipIdField), "76");
    click(ReadButton);
    EXPECT_EQ((QStringList{text(FirstBlockField), text(FirstBlockField + 4)}), (QStringList{"D002", hexOf("SR")}));

    choose(BlockList, "6");
    setText(FirstBlockField + 6, "beef");
    click(WriteButton);
    setText(FirstBlockField + 6, "");
    click(ReadButton);
    EXPECT_EQ(text(FirstBlockField + 6), "BEEF");
}

TEST_F(TagPagesSimulatorTest, Srix4kReadsItsUidAndBlocksAndWrites)
{
    using enum CSrix4kPage::ControlId;
    start(nullptr);
    open<CSrix4kPage>();
    click(RequestButton);
    click(ReadUidButton);
    EXPECT_EQ(text(UidField), "D00201A1B2C3D44B");
    click(ReadButton);
    EXPECT_EQ(text(FirstBlockField + 16), hexOf("SRIX"));

    choose(BlockList, "9");
    setText(FirstBlockField + 9, "01020304");
    click(WriteButton);
    EXPECT_EQ(harness.memo(), "OK");
}

} // namespace
