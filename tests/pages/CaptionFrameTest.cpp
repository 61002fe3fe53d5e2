#include "pages/CaptionFrame.h"
#include "pages/DialogBuilder.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

const QRgb Ground = qRgb(10, 20, 30);
const QRgb Grey = qRgb(128, 128, 128);
const QRgb White = qRgb(255, 255, 255);

// A frame drawn on a plain image, with the caption in red so that its pixels never look like
// the outline's grey or white.
struct DrawnFrame {
    DrawnFrame(const QString &caption, const QRect &rect)
        : image(200, 140, QImage::Format_RGB32)
    {
        page.setFont(DialogBuilder::pageFont());
        CaptionFrame frame(caption, rect, &page);
        frame.setColour(Qt::red);
        image.fill(Ground);
        QPainter painter(&image);
        frame.draw(painter);

        const QFontMetrics metrics(page.font());
        textWidth = metrics.horizontalAdvance(caption);
        textHeight = metrics.height();
        textX = rect.left() + 2 * (caption.isEmpty() ? 0 : textWidth / int(caption.size()));
        textY = rect.top() - textHeight / 2;
    }

    QRgb at(int x, int y) const { return image.pixel(x, y); }

    QWidget page;
    QImage image;
    int textWidth = 0, textHeight = 0, textX = 0, textY = 0;
};

bool isCaptionPixel(QRgb pixel)
{
    return pixel != Ground && pixel != Grey && pixel != White;
}

} // namespace

TEST(CaptionFrame, OutlineLiesOnTheRectangleAndOnePixelBeyond)
{
    // Left 20, top 30, right 120 and bottom 90 with exclusive right and bottom edges.
    const DrawnFrame drawn(QStringLiteral("Port Setting"), QRect(20, 30, 100, 60));
    const int gapFirst = drawn.textX - 1;
    const int gapLast = drawn.textX + drawn.textWidth + 2;

    // The white outline is drawn second: where it crosses the grey one, white shows.
    for (int y = 30; y <= 89; ++y)
        EXPECT_EQ(drawn.at(20, y), Grey) << "left edge at y " << y;
    for (int y = 31; y <= 89; ++y)
        EXPECT_EQ(drawn.at(21, y), White) << "left highlight at y " << y;
    for (int y = 31; y <= 90; ++y)
        EXPECT_EQ(drawn.at(120, y), White) << "right highlight at y " << y;
    EXPECT_EQ(drawn.at(119, 30), Grey);
    EXPECT_EQ(drawn.at(119, 31), White);
    for (int y = 32; y <= 89; ++y)
        EXPECT_EQ(drawn.at(119, y), Grey) << "right edge at y " << y;
    for (int x = 22; x <= 119; ++x)
        EXPECT_EQ(drawn.at(x, 89), Grey) << "bottom edge at x " << x;
    for (int x = 21; x <= 120; ++x)
        EXPECT_EQ(drawn.at(x, 90), White) << "bottom highlight at x " << x;
    // Nothing outside the outline and its highlight.
    for (int y = 31; y <= 91; ++y) {
        EXPECT_EQ(drawn.at(19, y), Ground);
        EXPECT_EQ(drawn.at(121, y), Ground);
    }
    for (int x = 19; x <= 121; ++x)
        EXPECT_EQ(drawn.at(x, 91), Ground);
    EXPECT_EQ(drawn.at(20, 90), Ground);
    EXPECT_EQ(drawn.at(121, 90), Ground);
    EXPECT_EQ(drawn.at(50, 60), Ground);

    // The top edge is open where the caption stands.
    for (int x = 20; x <= 119; ++x) {
        const bool inGap = x >= gapFirst && x <= gapLast;
        if (inGap) {
            EXPECT_NE(drawn.at(x, 30), Grey) << "gap at x " << x;
        } else {
            EXPECT_EQ(drawn.at(x, 30), Grey) << "top edge at x " << x;
        }
    }
    for (int x = 22; x <= 120; ++x) {
        const bool inGap = x >= gapFirst && x <= gapLast;
        if (inGap) {
            EXPECT_NE(drawn.at(x, 31), White) << "highlight gap at x " << x;
        } else {
            EXPECT_EQ(drawn.at(x, 31), White) << "top highlight at x " << x;
        }
    }
}

TEST(CaptionFrame, CaptionStandsTwoCharacterWidthsInAcrossTheTopEdge)
{
    const DrawnFrame drawn(QStringLiteral("Information"), QRect(20, 30, 150, 60));
    // Two average character widths in from the left edge.
    EXPECT_GT(drawn.textX, 24);
    EXPECT_LT(drawn.textX, 40);

    int left = 1000, right = -1, top = 1000, bottom = -1;
    for (int y = 0; y < drawn.image.height(); ++y) {
        for (int x = 0; x < drawn.image.width(); ++x) {
            if (isCaptionPixel(drawn.at(x, y))) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    ASSERT_GE(right, 0) << "no caption drawn";
    // The text lies within its measured box, which is vertically centred on the top edge.
    EXPECT_GE(left, drawn.textX - 1);
    EXPECT_LE(left, drawn.textX + 2);
    EXPECT_LE(right, drawn.textX + drawn.textWidth);
    EXPECT_GE(top, drawn.textY);
    EXPECT_LE(bottom, drawn.textY + drawn.textHeight);
    EXPECT_LT(top, 30);
    EXPECT_GT(bottom, 30);
}

TEST(CaptionFrame, KeepsItsRectangleCaptionAndColour)
{
    QWidget page;
    CaptionFrame frame(QStringLiteral("Beep"), QRect(1, 2, 3, 4), &page);
    EXPECT_EQ(frame.colour(), PageTextColour);
    EXPECT_EQ(frame.caption(), QStringLiteral("Beep"));
    frame.setRect(QRect(5, 6, 70, 80));
    EXPECT_EQ(frame.rect(), QRect(5, 6, 70, 80));
    EXPECT_EQ(PageTextColour, QColor(41, 101, 132));
}
