#include "FrameFixture.h"
#include "PageHarness.h"

#include "app/CHalvidView.h"
#include "dialogs/CResourceLibrary.h"
#include "shell/CBackgroundDlg.h"

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

TEST_F(BackgroundChooserTest, ConfirmedNewChoiceIsStoredAndRepaintsTheViewOnlyThen)
{
    const QImage bitmap210 = CResourceLibrary().loadBitmap(210).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(bitmap210.isNull());
    CMainFrame frame;
    frame.show();
    QApplication::processEvents();

    EXPECT_GT(runChooser(frame,
                         [](CBackgroundDlg &chooser) {
                             EXPECT_EQ(listOf(chooser)->currentRow(), 0);
                             EXPECT_NE(BackgroundLibrary, nullptr) << "the library stays loaded while the chooser lives";
                             listOf(chooser)->setCurrentRow(9);
                             PageHarness::click(&chooser, 1);
                         }),
              0);
    EXPECT_EQ(CurBitmap, 9);
    EXPECT_EQ(frame.view()->canvas()->grab().toImage().copy(QRect(QPoint(), bitmap210.size())).convertToFormat(QImage::Format_RGB32),
              bitmap210);

    // The same choice confirmed and a cancelled chooser (closing it is cancelling it) change
    // nothing and paint nothing.
    const struct {
        int row, button; // row -1: the list as it opens
    } unchanged[] = {{-1, 1}, {3, 2}};
    for (const auto &u : unchanged) {
        EXPECT_EQ(runChooser(frame,
                             [&u](CBackgroundDlg &chooser) {
                                 if (u.row >= 0)
                                     listOf(chooser)->setCurrentRow(u.row);
                                 PageHarness::click(&chooser, u.button);
                             }),
                  0);
        EXPECT_EQ(CurBitmap, 9) << u.row;
    }
}

TEST_F(BackgroundChooserTest, ListPreviewAndWhatIsMissing)
{
    const struct {
        const char *what;
        int current;
        bool library;
        int selectedRow;
        bool preview;
    } cases[] = {
        {"stored choice 31", 31, true, 31, true},
        {"stored choice outside the list", 40, true, -1, false},
        {"negative stored choice", -1, true, -1, false},
        {"no library", 4, false, 4, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        CBackgroundDlg chooser(c.current, c.library ? CResourceLibrary::defaultPath()
                                                    : QStringLiteral("/nonexistent/Kelb_Paper.rcc"));
        QListWidget *list = listOf(chooser);
        ASSERT_EQ(list->count(), 32);
        EXPECT_EQ(list->item(8)->text() + list->item(31)->text(), QStringLiteral("背景 09背景 32"));
        EXPECT_EQ(list->currentRow(), c.selectedRow);
        EXPECT_EQ(chooser.hasPreview(), c.preview);
    }
    EXPECT_EQ(BackgroundLibrary, nullptr);

    // The preview is tiled inside the frame shrunk by three pixels.
    CBackgroundDlg chooser(0);
    listOf(chooser)->setCurrentRow(2);
    const QImage bitmap = CResourceLibrary().loadBitmap(203).convertToFormat(QImage::Format_RGB32);
    const QRect area = chooser.previewRect();
    EXPECT_EQ(area, chooser.findChild<QWidget *>(QStringLiteral("id312"))->geometry().adjusted(3, 3, -3, -3));
    const QImage shown = chooser.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QSize tile = bitmap.size().boundedTo(area.size());
    EXPECT_EQ(shown.copy(QRect(area.topLeft(), tile)), bitmap.copy(QRect(QPoint(0, 0), tile)));
}

} // namespace
