#include "app/CProcessView.h"
#include "reporting/MessageCatalogue.h"
#include "dialogs/CaptionFrame.h"
#include "reader/RuntimeState.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QImage>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <memory>

namespace {

void showAt(QWidget &view, int width, int height)
{
    view.resize(width, height);
    view.show();
    QApplication::processEvents();
}

QImage shot(CProcessView &view)
{
    return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool isRed(QRgb pixel)
{
    return qRed(pixel) > 180 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

// Text pixels in a column range of a line: anything clearly darker than the background.
int inkColumns(const QImage &image, int line, int fromX, int toX, bool (*ink)(QRgb))
{
    int count = 0;
    for (int x = fromX; x < toX; ++x) {
        for (int y = line * 22; y < line * 22 + 22 && y < image.height(); ++y) {
            if (ink(image.pixel(x, y))) {
                ++count;
                break;
            }
        }
    }
    return count;
}

bool isTextColour(QRgb pixel)
{
    // PageTextColour (41, 101, 132) blended with the light background: blue-grey and dark.
    return qRed(pixel) < 120 && qBlue(pixel) > qRed(pixel) + 30;
}

bool anyInk(QRgb pixel)
{
    return isRed(pixel) || isTextColour(pixel);
}

int firstInkColumn(const QImage &image, int line, bool (*ink)(QRgb))
{
    for (int x = 0; x < image.width(); ++x) {
        if (inkColumns(image, line, x, x + 1, ink) != 0)
            return x;
    }
    return -1;
}

TEST(ProcessViewTest, ContentHeightGrowsPastFourLinesAndClearsBack)
{
    CProcessView view;
    view.resize(600, 150);
    EXPECT_EQ(view.contentHeight(), 100);
    view.clearEntries();
    for (int i = 1; i <= 4; ++i) {
        view.appendEntry(QStringLiteral("rf_request"), 0);
        EXPECT_EQ(view.contentHeight(), 100) << i;
    }
    view.appendEntry(QStringLiteral("rf_select"), 0x1a);
    EXPECT_EQ(view.contentHeight(), 134);
    view.appendEntry(QStringLiteral("rf_halt"), 0);
    EXPECT_EQ(view.contentHeight(), 6 * 22 + 24);
    ASSERT_EQ(view.entries().size(), 6);
    EXPECT_EQ(view.entries()[4].text, QStringLiteral("rf_select"));
    EXPECT_EQ(view.entries()[4].status, 0x1a);

    view.clearEntries();
    EXPECT_TRUE(view.entries().isEmpty());
    EXPECT_EQ(view.contentHeight(), 100);
}

TEST(ProcessViewTest, ScrollRangeAndStepsFollowTheContentHeight)
{
    CProcessView view;
    showAt(view, 600, 120);
    const int client = view.viewport()->height();
    for (int i = 0; i < 40; ++i)
        view.appendEntry(QStringLiteral("ISO15693_Read"), 0);
    const int content = 40 * 22 + 24;
    ASSERT_EQ(view.contentHeight(), content);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), content - client);
    EXPECT_EQ(view.verticalScrollBar()->pageStep(), content / 10);
    EXPECT_EQ(view.verticalScrollBar()->singleStep(), content / 100);
    // A new line shows the top of the log again.
    view.verticalScrollBar()->setValue(200);
    view.appendEntry(QStringLiteral("rf_halt"), 0);
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
}

TEST(ProcessViewTest, BackgroundIsTheGradientOverEightyFourRowsThenWhite)
{
    CProcessView view;
    showAt(view, 400, 200);
    for (bool cleared : {false, true}) {
        if (cleared)
            view.clearEntries();
        const QImage image = shot(view);
        const int x = image.width() - 5;
        EXPECT_EQ(image.pixel(x, 0), qRgb(171, 188, 199)) << cleared;
        const int h = image.height();
        const int n = std::min(84, h);
        EXPECT_EQ(image.pixel(x, 40), qRgb(171 + 40, 188 + 67 * 40 / n, 199 + 56 * 40 / n)) << cleared;
        EXPECT_EQ(image.pixel(x, 83), qRgb(254, 254, 254)) << cleared;
        EXPECT_EQ(image.pixel(x, 84), qRgb(255, 255, 255)) << cleared;
        EXPECT_EQ(image.pixel(x, h - 1), qRgb(255, 255, 255)) << cleared;
    }
}

TEST(ProcessViewTest, EntriesAreDrawnAtTwentyWithTheStatusAtHalfTheWidth)
{
    CProcessView view;
    showAt(view, 640, 200);
    view.appendEntry(QStringLiteral("rf_request"), 0);
    view.appendEntry(QStringLiteral("rf_select"), 0x1a);
    const QImage image = shot(view);
    const int half = view.viewport()->width() / 2;

    // Line 0: name and "Communication successful" in the page colour, nothing red.
    EXPECT_EQ(inkColumns(image, 0, 0, image.width(), isRed), 0);
    const int nameStart = firstInkColumn(image, 0, isTextColour);
    EXPECT_GE(nameStart, 20);
    EXPECT_LE(nameStart, 23);
    EXPECT_GT(inkColumns(image, 0, half, half + 40, isTextColour), 0);
    EXPECT_EQ(inkColumns(image, 0, half - 30, half, anyInk), 0);

    // Line 1: the name in the page colour, the failure text in red from half the width.
    EXPECT_EQ(inkColumns(image, 1, 0, half, isRed), 0);
    EXPECT_GT(inkColumns(image, 1, 20, 60, isTextColour), 0);
    const int statusStart = firstInkColumn(image, 1, isRed);
    EXPECT_GE(statusStart, half);
    EXPECT_LE(statusStart, half + 3);
    EXPECT_EQ(inkColumns(image, 1, half, image.width(), isTextColour), 0);
}

TEST(ProcessViewTest, StatusTextsComeFromTheCatalogueInTheBuildsLanguage)
{
    EXPECT_EQ(Message(1, 0x01), QStringLiteral("Communication failed,   Error Code：0x01"));
    EXPECT_EQ(Message(1, -1), QStringLiteral("Communication failed,   Error Code：0xffffffff"));
    LanguageIndex = 0;
    EXPECT_EQ(Message(0), QStringLiteral("呼叫成功"));
    EXPECT_EQ(Message(1, 0x1a), QStringLiteral("呼叫失败,   错误代码：0x1a"));
    LanguageIndex = 1;
}

} // namespace

namespace {

TEST(ProcessViewTest, ContextMenuCopiesAndSavesTheLinesAsNameTabResult)
{
    CProcessView view;
    {
        std::unique_ptr<QMenu> empty(view.createContextMenu());
        EXPECT_FALSE(empty->findChild<QAction *>(QStringLiteral("logCopy"))->isEnabled());
    }
    view.clearEntries();
    view.appendEntry(QStringLiteral("rf_request"), 0);
    view.appendEntry(QStringLiteral("rf_anticoll"), 0x1a);
    const QString expected = QStringLiteral("rf_request\t") + Message(0) + QStringLiteral("\nrf_anticoll\t")
                             + Message(1, 0x1a) + QStringLiteral("\n");

    std::unique_ptr<QMenu> menu(view.createContextMenu());
    QApplication::clipboard()->clear();
    menu->findChild<QAction *>(QStringLiteral("logCopy"))->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), expected);

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("log.txt"));
    const CProcessView::SavePathPrompt previous = CProcessView::setSavePathPrompt([&path](QWidget *) { return path; });
    menu->findChild<QAction *>(QStringLiteral("logSaveAs"))->trigger();
    CProcessView::setSavePathPrompt(previous);
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(saved.readAll()), expected);
    // The log itself is untouched.
    EXPECT_EQ(view.entries().size(), 2);
}

} // namespace
