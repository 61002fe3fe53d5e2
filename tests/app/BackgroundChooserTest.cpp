#include "FrameFixture.h"

#include "app/CHalvidView.h"
#include "dialogs/CResourceLibrary.h"
#include "shell/CBackgroundDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QTimer>

#include <functional>

namespace {

using BackgroundChooserTest = FrameFixture;

QListWidget *listOf(CBackgroundDlg &chooser)
{
    return chooser.findChild<QListWidget *>(QStringLiteral("id1062"));
}

void click(CBackgroundDlg &chooser, int buttonId)
{
    chooser.findChild<QAbstractButton *>(QStringLiteral("id%1").arg(buttonId))->click();
}

// Counts the paintings of a widget.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// Runs "Set background" with the operator's actions in the modal chooser; returns how often
// the view's background was painted afterwards.
int runChooser(CMainFrame &frame, const std::function<void(CBackgroundDlg &)> &operatorActs)
{
    PaintCounter counter;
    QApplication::processEvents();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *chooser = qobject_cast<CBackgroundDlg *>(QApplication::activeModalWidget());
        seen = chooser != nullptr;
        if (chooser != nullptr)
            operatorActs(*chooser);
    });
    frame.view()->canvas()->installEventFilter(&counter);
    frame.commandAction(CmdSetBackground)->trigger();
    QApplication::processEvents();
    frame.view()->canvas()->removeEventFilter(&counter);
    EXPECT_TRUE(seen);
    EXPECT_EQ(BackgroundLibrary, nullptr) << "the chooser releases the library when it closes";
    return counter.paints;
}

QImage topLeft(QWidget *widget, const QPoint &corner, const QSize &size)
{
    return widget->grab().toImage().copy(QRect(corner, size)).convertToFormat(QImage::Format_RGB32);
}

TEST_F(BackgroundChooserTest, ConfirmedNewChoiceIsStoredAndRepaintsTheViewOnlyThen)
{
    const QImage bitmap210 = CResourceLibrary().loadBitmap(210).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(bitmap210.isNull());
    CMainFrame frame;
    frame.show();
    QApplication::processEvents();

    const int confirmedPaints = runChooser(frame, [](CBackgroundDlg &chooser) {
        EXPECT_EQ(listOf(chooser)->currentRow(), 0);
        EXPECT_NE(BackgroundLibrary, nullptr) << "the library stays loaded while the chooser lives";
        listOf(chooser)->setCurrentRow(9);
        EXPECT_EQ(chooser.previewBitmap().size(), CResourceLibrary().loadBitmap(210).size());
        click(chooser, 1);
    });
    EXPECT_EQ(CurBitmap, 9);
    EXPECT_GT(confirmedPaints, 0);
    EXPECT_EQ(topLeft(frame.view()->canvas(), {0, 0}, bitmap210.size()), bitmap210);

    const int unchangedPaints = runChooser(frame, [](CBackgroundDlg &chooser) {
        EXPECT_EQ(listOf(chooser)->currentItem()->text(), QStringLiteral("背景 10"));
        click(chooser, 1);
    });
    EXPECT_EQ(CurBitmap, 9);
    EXPECT_EQ(unchangedPaints, 0);

    const int cancelledPaints = runChooser(frame, [](CBackgroundDlg &chooser) {
        listOf(chooser)->setCurrentRow(3);
        listOf(chooser)->setCurrentRow(20);
        click(chooser, 2);
    });
    const int closedPaints = runChooser(frame, [](CBackgroundDlg &chooser) {
        listOf(chooser)->setCurrentRow(5);
        chooser.close();
    });
    EXPECT_EQ(CurBitmap, 9);
    EXPECT_EQ(cancelledPaints + closedPaints, 0);
}

TEST_F(BackgroundChooserTest, ListPreviewAndWhatIsMissing)
{
    struct Case {
        const char *what;
        int current;
        bool library;
        int selectedRow;
        bool preview;
    };
    const Case cases[] = {
        {"stored choice 31", 31, true, 31, true},
        {"stored choice outside the list", 40, true, -1, false},
        {"negative stored choice", -1, true, -1, false},
        {"no library", 4, false, 4, false},
    };
    for (const Case &c : cases) {
        CBackgroundDlg chooser(c.current, c.library ? CResourceLibrary::defaultPath()
                                                    : QStringLiteral("/nonexistent/Kelb_Paper.rcc"));
        QListWidget *list = listOf(chooser);
        ASSERT_EQ(list->count(), 32) << c.what;
        EXPECT_EQ(list->item(0)->text(), QStringLiteral("背景 01")) << c.what;
        EXPECT_EQ(list->item(8)->text(), QStringLiteral("背景 09")) << c.what;
        EXPECT_EQ(list->item(31)->text(), QStringLiteral("背景 32")) << c.what;
        EXPECT_EQ(list->currentRow(), c.selectedRow) << c.what;
        EXPECT_EQ(chooser.hasPreview(), c.preview) << c.what;
        EXPECT_EQ(chooser.windowTitle(), QStringLiteral("选择背景"));
    }
    EXPECT_EQ(BackgroundLibrary, nullptr);
}

TEST_F(BackgroundChooserTest, PreviewIsTiledInsideTheFrameShrunkByThreePixels)
{
    CBackgroundDlg chooser(0);
    listOf(chooser)->setCurrentRow(2);
    const QImage bitmap = CResourceLibrary().loadBitmap(203).convertToFormat(QImage::Format_RGB32);
    const QRect area = chooser.previewRect();
    const QRect frame = chooser.findChild<QWidget *>(QStringLiteral("id312"))->geometry();
    EXPECT_EQ(area, frame.adjusted(3, 3, -3, -3));
    const QImage shown = chooser.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QSize tile = bitmap.size().boundedTo(area.size());
    EXPECT_EQ(shown.copy(QRect(area.topLeft(), tile)), bitmap.copy(QRect(QPoint(0, 0), tile)));
}

} // namespace
