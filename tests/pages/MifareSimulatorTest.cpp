#include "SimulatedPageTest.h"
#include "QtPrinters.h"

#include "pages/CMifareS50Page.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

const QString FactoryKey = QStringLiteral("ffffffffffff");
constexpr int Initialize = 1056, Increment = 1057, Decrement = 1059, Balance = 1060;

// The pages against the simulated reader beside the program, loaded as the program loads its
// reader library, on the port the program opens at start-up.
class MifareSimulatorTest : public SimulatedPageTest
{
protected:
    void purse(int button, const QString &sector, const QString &block, const QString &value = QString())
    {
        choose(1050, sector);
        choose(1058, block);
        setText(1053, FactoryKey);
        if (!value.isNull())
            setText(1054, value);
        click(button);
        EXPECT_EQ(harness.memo(), "OK");
    }
};

TEST_F(MifareSimulatorTest, TheS50PageSelectsReadsWritesAndWorksThePurseOfTheShippedCard)
{
    start(nullptr);
    open<CMifareS50Page>();
    click(1010);
    EXPECT_EQ(text(1049), "C0FFEE42");
    EXPECT_EQ(harness.memo(), "Communication successful");

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
    purse(Decrement, "0", "1", "5");
    purse(Balance, "0", "1");
    EXPECT_EQ(text(1054), "120");
    purse(Initialize, "2", "0", "-300");
    purse(Balance, "2", "0");
    EXPECT_EQ(text(1054), "-300");
    EXPECT_EQ(text(1055), "D4FEFFFF");
}

} // namespace
