#include "FrameFixture.h"
#include "PageHarness.h"

#include "app/CProcessView.h"
#include "reporting/MessageCatalogue.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gmock/gmock.h>

#include <algorithm>
#include <memory>

namespace {

using ::testing::AllOf;
using ::testing::Ge;
using ::testing::Le;
using ::testing::Lt;

bool isRed(QRgb pixel)
{
    return qRed(pixel) > 180 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

// PageTextColour (41, 101, 132) blended with the light background: blue-grey and dark.
bool isTextColour(QRgb pixel)
{
    return qRed(pixel) < 120 && qBlue(pixel) > qRed(pixel) + 30;
}

// The first column of a 22-pixel line, from fromX on, that holds ink; -1 when none does.
int firstInk(const QImage &image, int line, int fromX, bool (*ink)(QRgb))
{
    for (int x = fromX; x < image.width(); ++x)
        for (int y = line * 22; y < std::min(line * 22 + 22, int(image.height())); ++y)
            if (ink(image.pixel(x, y)))
                return x;
    return -1;
}

TEST(ProcessViewTest, ContentHeightScrollRangeStepsAndDrawingFollowTheLines)
{
    CProcessView view;
    showAt(view, 600, 120);
    const int client = view.viewport()->height();
    for (int i = 1; i <= 4; ++i) {
        view.appendEntry(QStringLiteral("rf_request"), 0);
        EXPECT_EQ(view.contentHeight(), 100) << i;
    }
    view.appendEntry(QStringLiteral("rf_select"), 0x1a);
    EXPECT_EQ(view.contentHeight(), 134);

    // Each entry is drawn at twenty, its status at half the width.
    const QImage image = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int half = view.viewport()->width() / 2;
    // Line 0: name and "Communication successful" in the page colour, nothing red.
    EXPECT_EQ(firstInk(image, 0, 0, isRed), -1);
    EXPECT_THAT(firstInk(image, 0, 0, isTextColour), AllOf(Ge(20), Le(23)));
    EXPECT_THAT(firstInk(image, 0, half - 30, isTextColour), AllOf(Ge(half), Lt(half + 40)));
    // Line 4: the name in the page colour, the failure text in red from half the width.
    EXPECT_THAT(firstInk(image, 4, 0, isRed), AllOf(Ge(half), Le(half + 3)));
    EXPECT_THAT(firstInk(image, 4, 0, isTextColour), AllOf(Ge(20), Lt(60)));
    EXPECT_EQ(firstInk(image, 4, half, isTextColour), -1);

    for (int i = 5; i < 40; ++i)
        view.appendEntry(QStringLiteral("ISO15693_Read"), 0);
    const int content = 40 * 22 + 24;
    ASSERT_EQ(view.contentHeight(), content);
    const QScrollBar *bar = view.verticalScrollBar();
    EXPECT_EQ(std::tuple(bar->maximum(), bar->pageStep(), bar->singleStep()), std::tuple(content - client, content / 10, content / 100));
    // A new line shows the top of the log again.
    view.verticalScrollBar()->setValue(200);
    view.appendEntry(QStringLiteral("rf_halt"), 0);
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
    view.clearEntries();
    EXPECT_TRUE(view.entries().isEmpty());
    EXPECT_EQ(view.contentHeight(), 100);
}

TEST(ProcessViewTest, ContextMenuCopiesAndSavesTheLinesAsNameTabResult)
{
    CProcessView view;
    EXPECT_FALSE(std::unique_ptr<QMenu>(view.createContextMenu())->findChild<QAction *>(QStringLiteral("logCopy"))->isEnabled());
    view.appendEntry(QStringLiteral("rf_request"), 0);
    view.appendEntry(QStringLiteral("rf_anticoll"), 0x1a);
    const QString expected = QStringLiteral("rf_request\t") + Message(Msg::CallSucceeded) + QStringLiteral("\nrf_anticoll\t")
                             + Message(Msg::CallFailedWithCode, 0x1a) + QStringLiteral("\n");

    std::unique_ptr<QMenu> menu(view.createContextMenu());
    QApplication::clipboard()->clear();
    menu->findChild<QAction *>(QStringLiteral("logCopy"))->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), expected);

    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("log.txt"));
    const CProcessView::SavePathPrompt previous = CProcessView::setSavePathPrompt([&path](QWidget *) { return path; });
    PageHarness harness;
    menu->findChild<QAction *>(QStringLiteral("logSaveAs"))->trigger();
    EXPECT_EQ(QString::fromUtf8(fileBytes(path)), expected);
    EXPECT_EQ(view.entries().size(), 2);
    // A place that cannot take the file: the operator is told why (the old file stays whole, as
    // every saved file does, in the interrupted-save tests).
    ASSERT_TRUE(harness.messageBoxes().empty());
    path = folder.filePath(QStringLiteral("log.txt/log.txt"));
    menu->findChild<QAction *>(QStringLiteral("logSaveAs"))->trigger();
    CProcessView::setSavePathPrompt(previous);
    ASSERT_EQ(harness.messageBoxes().size(), 1u);
    EXPECT_EQ(harness.messageBoxes()[0].caption + u'|' + harness.messageBoxes()[0].text,
              QStringLiteral("Error|Cannot save the log to %1: Not a directory").arg(path));
}

} // namespace
