#include "SimulatedPageTest.h"
#include "QtPrinters.h"

#include "pages/CShc1102Page.h"
#include "pages/CTrh1064Page.h"

#include <QAbstractButton>

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

constexpr int TrhSearch = 1010, TrhKey = 1057, TrhAuthenticate = 1011, TrhPages = 1248, TrhRead = 1063, TrhWrite = 1064;

TEST_F(TagPagesSimulatorTest, TheTrh1064PageReadsTheShippedTagAndWritesPageThreeOnlyAfterTheKey)
{
    start(ShippedTrh1064);
    auto &page = open<CTrh1064Page>();

    click(TrhSearch);
    EXPECT_EQ(text(1056), "10640000A1B2C3D4");

    click(TrhRead);
    EXPECT_EQ(text(1058), "5452483130363410");
    // Configuration 10: page 2 is the key; page 3 reads freely and changes after the key.
    for (int id : {1249, 1250, 1251, 1252, 1259, 1260, 1263, 1264})
        EXPECT_TRUE(page.button(id)->isChecked()) << id;
    for (int id : {1257, 1258, 1261, 1262})
        EXPECT_FALSE(page.button(id)->isChecked()) << id;
    choose(TrhPages, "Page1");
    click(TrhRead);
    EXPECT_EQ((QStringList{text(1059), text(1065)}), (QStringList{hexOf("TRH1064 "), hexOf(" OF DATA")}));

    // Without the key page 3 stays as it is.
    choose(TrhPages, "Page3");
    setText(1067, "0000000000000007");
    click(TrhWrite);
    EXPECT_EQ(harness.memo(), "Error: 3 ,function: rf_thr1064_write");

    click(TrhSearch);
    setText(TrhKey, "ffffffffffffffff");
    click(TrhAuthenticate);
    setText(1067, "0000000000000007");
    click(TrhWrite);
    EXPECT_EQ(harness.memo(), "Communication successful");
    setText(1067, "");
    click(TrhRead);
    EXPECT_EQ(text(1067), "0000000000000007");
}

constexpr int ShcRequest = 1077, ShcPassword = 1056, ShcBlocks = 1078, ShcRead = 1080, ShcWrite = 1081;

TEST_F(TagPagesSimulatorTest, TheShc1102PageReadsBehindThePasswordAndWritesAfterIt)
{
    start(R"({"field": [{"type": "shc1102", "Card": {"UID": "11020000A1B2C3D4"}, "Password": "FFFFFFFF",
                         "blocks": {"2": "53484331", "9": "50524F54"}}]})");
    open<CShc1102Page>();

    click(ShcRequest);
    EXPECT_EQ(text(1079), "0211");

    // Without a password only the free blocks come, and nothing is said.
    harness.infoBar().showMemo("before");
    click(ShcRead);
    EXPECT_EQ((QStringList{text(1082), text(1185), text(1091), harness.memo()}),
              (QStringList{"11020000", "53484331", "", "before"}));

    setText(ShcPassword, "ffffffff");
    click(ShcRead);
    EXPECT_EQ((QStringList{text(1091), text(1092), harness.memo()}), (QStringList{"FFFFFFFF", "50524F54", "OK"}));

    choose(ShcBlocks, "5");
    setText(1088, "12345678");
    click(ShcWrite);
    setText(1088, "");
    click(ShcRead);
    EXPECT_EQ(text(1088), "12345678");

    // A wrong password is refused by the tag: logged, not reported.
    harness.infoBar().showMemo("before");
    setText(ShcPassword, "00000000");
    click(ShcWrite);
    EXPECT_EQ(harness.logLines().last(), "rf_Shc1102_Auth 2");
    EXPECT_EQ(harness.memo(), "before");
}

} // namespace
