#include "dialogs/DialogBuilder.h"
#include "dialogs/DialogUnits.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

// The conversion of a position below takes 10.5 and 11.375 through it.
TEST(DialogUnits, MulDivRoundsHalfAwayFromZero)
{
    const struct {
        int a, b, c, expected;
    } cases[] = {
        {2, 5, 4, 3},    // 2.5
        {1, 5, 4, 1},    // 1.25
        {-3, 6, 4, -5},  // -4.5
        {3, 6, -4, -5},
        {4, 13, 8, 7},   // 6.5
        {1, 1, 0, -1},   // no divisor
        {1 << 20, 1 << 20, 1 << 10, 1 << 30}, // the product does not overflow
    };
    for (const auto &c : cases)
        EXPECT_EQ(DialogUnits::mulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
}

TEST(DialogUnits, AverageCharacterWidthOfTheFiftyTwoLetters)
{
    // Exactly 6, 5.48, 5.5 rounding up, nothing.
    for (const auto &[letters, average] : {std::pair{312, 6}, {285, 5}, {286, 6}, {0, 0}})
        EXPECT_EQ(DialogUnits::averageCharacterWidth(letters), average) << letters;
}

TEST(DialogUnits, PositionAndSizeConvertEachOnTheirOwn)
{
    const DialogUnits units(6, 13);
    // x 7 -> 10.5 -> 11, y 7 -> 11.375 -> 11, width 190 -> 285, height 48 -> 78.
    EXPECT_EQ(units.toPixels(7, 7, 190, 48), QRect(11, 11, 285, 78));
    // The right edge is not converted: 1 + 1 units give 2 + 2 pixels, not MulDiv(2).
    EXPECT_EQ(units.toPixels(1, 0, 1, 0), QRect(2, 0, 2, 0));
    EXPECT_EQ(units.toPixels(QSize(400, 230)), QSize(600, 374));
}

TEST(DialogUnits, PageFontGivesTheBaseUnits)
{
    const QFont font = DialogBuilder::pageFont();
    // The font is one the program's packages install, not a substitute.
    EXPECT_EQ(std::pair(QFontInfo(font).family(), QFontInfo(font).pixelSize()), std::pair(QStringLiteral("Liberation Sans"), 11));

    const QFontMetrics metrics(font);
    const DialogUnits units = DialogUnits::fromFont(font);
    EXPECT_EQ(units.baseY(), metrics.height());
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    EXPECT_LE(std::abs(units.baseX() * 52 - letters), 26);
    // Close to the platform's own dialog font (6 x 13 at 96 dots per inch).
    EXPECT_NEAR(units.baseX(), 6, 1);
    EXPECT_NEAR(units.baseY(), 13, 1);

    const DialogBuilder builder;
    const DialogTemplate dialog{1, 400, 230, {}};
    EXPECT_EQ(builder.templateSize(dialog), units.toPixels(QSize(400, 230)));
}
