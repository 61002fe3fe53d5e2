#include "dialogs/CaptionFrame.h"
#include "dialogs/DialogBuilder.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::AllOf;
using ::testing::Ge;
using ::testing::Gt;
using ::testing::Le;
using ::testing::Lt;

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

// Every pixel of the horizontal or vertical run from `from` to `to` is `colour`, or, where
// `gapFirst` to `gapLast` cut the run, is not.
void expectRun(const DrawnFrame &drawn, QPoint from, QPoint to, QRgb colour, int gapFirst = 1, int gapLast = 0)
{
    const QPoint step = from.x() == to.x() ? QPoint(0, 1) : QPoint(1, 0);
    for (QPoint p = from; p != to + step; p += step) {
        if (p.x() >= gapFirst && p.x() <= gapLast)
            EXPECT_NE(drawn.at(p.x(), p.y()), colour) << "gap at " << p.x() << "," << p.y();
        else
            EXPECT_EQ(drawn.at(p.x(), p.y()), colour) << "at " << p.x() << "," << p.y();
    }
}

} // namespace

TEST(CaptionFrame, OutlineLiesOnTheRectangleAndOnePixelBeyondAndTheCaptionAcrossTheTopEdge)
{
    // Left 20, top 30, right 120 and bottom 90 with exclusive right and bottom edges.
    const DrawnFrame drawn(QStringLiteral("Port Setting"), QRect(20, 30, 100, 60));
    const int gapFirst = drawn.textX - 1;
    const int gapLast = drawn.textX + drawn.textWidth + 2;

    // The white outline is drawn second: where it crosses the grey one, white shows.
    expectRun(drawn, {20, 30}, {20, 89}, Grey);   // left edge
    expectRun(drawn, {21, 31}, {21, 89}, White);  // left highlight
    expectRun(drawn, {120, 31}, {120, 90}, White); // right highlight
    EXPECT_EQ(std::pair(drawn.at(119, 30), drawn.at(119, 31)), std::pair(Grey, White));
    expectRun(drawn, {119, 32}, {119, 89}, Grey);  // right edge
    expectRun(drawn, {22, 89}, {119, 89}, Grey);   // bottom edge
    expectRun(drawn, {21, 90}, {120, 90}, White);  // bottom highlight
    // Nothing outside the outline and its highlight.
    expectRun(drawn, {121, 31}, {121, 91}, Ground);
    expectRun(drawn, {19, 91}, {121, 91}, Ground);
    EXPECT_EQ(drawn.at(20, 90), Ground);
    // The top edge is open where the caption stands.
    expectRun(drawn, {20, 30}, {119, 30}, Grey, gapFirst, gapLast);
    expectRun(drawn, {22, 31}, {120, 31}, White, gapFirst, gapLast);

    // The caption stands two character widths in, within its measured box, which is vertically
    // centred on the top edge.
    QRect caption;
    for (int y = 0; y < drawn.image.height(); ++y)
        for (int x = 0; x < drawn.image.width(); ++x)
            if (isCaptionPixel(drawn.at(x, y)))
                caption |= QRect(x, y, 1, 1);
    ASSERT_FALSE(caption.isNull()) << "no caption drawn";
    EXPECT_THAT(caption.left(), AllOf(Ge(drawn.textX - 1), Le(drawn.textX + 2)));
    EXPECT_LE(caption.right(), drawn.textX + drawn.textWidth);
    EXPECT_THAT(caption.top(), AllOf(Ge(drawn.textY), Lt(30)));
    EXPECT_THAT(caption.bottom(), AllOf(Le(drawn.textY + drawn.textHeight), Gt(30)));
}
