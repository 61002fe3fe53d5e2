#include "SimulatedPageTest.h"
#include "QtPrinters.h"

#include "pages/CShc1102Page.h"
#include "pages/CTrh1064Page.h"

#include <gtest/gtest.h>

namespace {

// The TRH1064 and SHC1102 pages against the simulated reader beside the program.
using TagPagesSimulatorTest = SimulatedPageTest;

// The TRH1064 as the reader ships it, alone in the field (the built-in field also holds a type B
// processor card, which would answer the request first).
const char *const ShippedTrh1064 = R"({
  "field": [
    { "type": "trh1064", "Card": { "UID": "10640000A1B2C3D4" }, "Key": "FFFFFFFFFFFFFFFF",
      "blocks": { "0": "5452483130363410", "1": "5452483130363420", "2": "5041474520312048", "3": "4F4C445320464F52", "4": "5459204259544553", "5": "204F462044415441" } }
  ]
})";

TEST_F(TagPagesSimulatorTest, TheTrh1064PageReadsTheShippedTagAndWritesPageThreeAfterTheKey)
{
    using enum CTrh1064Page::ControlId;
    start(ShippedTrh1064);
    open<CTrh1064Page>();

    click(SearchButton);
    EXPECT_EQ(text(SerialField), "10640000A1B2C3D4");

    click(ReadButton);
    EXPECT_EQ(text(Page0Field), "5452483130363410");
    choose(PageList, "Page1");
    click(ReadButton);
    EXPECT_EQ((QStringList{text(CTrh1064Page::Page1Fields[0]), text(CTrh1064Page::Page1Fields[4])}),
              (QStringList{hexOf("TRH1064 "), hexOf(" OF DATA")}));

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

} // namespace
