#include "PageHarness.h"
#include "SimulatedPageTest.h"
#include "QtPrinters.h"

#include "controls/CHexEdit.h"
#include "pages/CMifareS50Page.h"
#include "pages/CMifareS70Page.h"
#include "pages/CUltraLightPage.h"
#include "reader/ReaderLibrary.h"
#include "reader/RuntimeState.h"

#include <QFile>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace {

const QString FactoryKey = QStringLiteral("ffffffffffff");

// A 4K card as the reader ships it (value 100 in block 1), with an UltraLight below it.
const char *const FourKCard = R"({
  "field": [
    { "type": "mifare-4k", "Card": { "UID": "C0FFEE42" },
      "blocks": { "1": "640000009BFFFFFF6400000001FE01FE" } },
    { "type": "ultralight", "Card": { "UID": "04A1B2C3D4E5F6" } }
  ]
})";

// The pages against the simulated reader beside the program, loaded as the program loads its
// reader library, on the port the program opens at start-up.
class MifareSimulatorTest : public SimulatedPageTest
{
protected:
    // Panel A of either Mifare page reads a sector with key A.
    void readPanelA(const QString &sector, const QString &key = FactoryKey)
    {
        choose(1061, sector);
        setText(1004, key);
        click(1070);
    }

    void purse(int button, const QString &sector, const QString &block, const QString &value)
    {
        choose(1050, sector);
        choose(1058, block);
        setText(1053, FactoryKey);
        if (!value.isNull())
            setText(1054, value);
        click(button);
    }

};

constexpr int Initialize = 1056, Increment = 1057, Decrement = 1059, Balance = 1060;

TEST_F(MifareSimulatorTest, TheS50PageSelectsAndReadsTheShippedCard)
{
    start(nullptr);
    auto &page = open<CMifareS50Page>();

    click(1010);
    EXPECT_EQ(text(1049), "C0FFEE42");
    EXPECT_EQ(harness.memo(), "Communication successful");
    EXPECT_TRUE(page.isCardSelected());

    readPanelA("0");
    EXPECT_TRUE(text(1076).startsWith("C0FFEE42"));
    EXPECT_EQ(text(1077), "640000009BFFFFFF6400000001FE01FE");
    EXPECT_EQ(text(1078), hexOf("ZENTRAVA 4K DEMO"));
    // Key A never reads back; with the transport access bits key B does.
    EXPECT_EQ(text(1085), "000000000000");
    EXPECT_EQ(text(1086), "FF078069");
    EXPECT_EQ(text(1087), "FFFFFFFFFFFF");
    EXPECT_EQ(harness.memo(), "OK");

    choose(1062, "1");
    setText(1005, FactoryKey);
    click(1071);
    EXPECT_EQ(text(1079), "000102030405060708090A0B0C0D0E0F");

    purse(Balance, "0", "1", QString());
    EXPECT_EQ(text(1054), "100");
    EXPECT_EQ(text(1055), "64000000");
}

TEST_F(MifareSimulatorTest, OnA4KCardBlocksAndValuesWrittenReadBackAndAHaltedCardIsSelectedAgain)
{
    start(FourKCard);
    auto &page = open<CMifareS50Page>();

    choose(1063, "15");
    choose(1096, "2");
    setText(1006, FactoryKey);
    setText(1084, "0123456789abcdef0123456789abcdef");
    click(1075);
    EXPECT_EQ(harness.memo(), "OK");
    setText(1084, "");
    click(1072);
    EXPECT_EQ(text(1084), "0123456789ABCDEF0123456789ABCDEF");

    purse(Increment, "0", "1", "25");
    EXPECT_EQ(harness.memo(), "OK");
    purse(Decrement, "0", "1", "5");
    EXPECT_EQ(harness.memo(), "OK");
    purse(Balance, "0", "1", QString());
    EXPECT_EQ(text(1054), "120");
    EXPECT_EQ(text(1055), "78000000");
    purse(Initialize, "2", "0", "-300");
    EXPECT_EQ(harness.memo(), "OK");
    purse(Balance, "2", "0", QString());
    EXPECT_EQ(text(1054), "-300");
    EXPECT_EQ(text(1055), "D4FEFFFF");
    EXPECT_EQ(harness.logLines(), (QStringList{"rf_M1_authentication2 0", "rf_M1_readval 0"}));

    // A block that is no value is refused by the card.
    purse(Balance, "0", "2", QString());
    EXPECT_EQ(harness.memo(), "Error: 5 ,function: rf_M1_readval");
    EXPECT_EQ(text(1054), "");
    EXPECT_EQ(text(1055), "");
    EXPECT_FALSE(page.isCardSelected());

    // A halted card no longer answers until it is selected again.
    click(1010);
    click(1237);
    EXPECT_EQ(harness.memo(), "Communication successful");
    readPanelA("1");
    EXPECT_EQ(harness.memo(), "Error: 1 ,function: rf_M1_authentication2");
    EXPECT_FALSE(page.isCardSelected());
    click(1070);
    EXPECT_EQ(harness.memo(), "OK");

    // The S70 page reaches the last sector, sixteen blocks long.
    open<CMifareS70Page>();
    choose(1062, "39");
    choose(1095, "14");
    setText(1005, FactoryKey);
    setText(1114, "beef");
    click(1074);
    EXPECT_EQ(harness.memo(), "OK");
    click(1071);
    EXPECT_EQ(text(1114), "BEEF0000000000000000000000000000");
    EXPECT_EQ(text(1089), "FFFFFFFFFFFF");
}

TEST_F(MifareSimulatorTest, TheUltraLightPageSelectsReadsAndWritesTheShippedUltraLight)
{
    start(nullptr);
    open<CUltraLightPage>();

    click(1077);
    EXPECT_EQ(text(1079), "04A1B2C3D4E5F6");
    EXPECT_EQ(harness.memo(), "Communication successful");
    click(1080);
    EXPECT_EQ(harness.logLines().size(), 4);
    EXPECT_TRUE(text(1082).startsWith("04A1B2"));
    QString pages;
    for (int field = 1087; field <= 1090; ++field)
        pages += text(field);
    EXPECT_EQ(pages, hexOf("ULTRALIGHT DEMO!"));

    choose(1078, "6");
    setText(1089, "cafebabe");
    click(1081);
    EXPECT_EQ(harness.memo(), "OK");
    setText(1089, "");
    click(1080);
    EXPECT_EQ(text(1089), "CAFEBABE");
    EXPECT_EQ(harness.memo(), "OK");
}

} // namespace
