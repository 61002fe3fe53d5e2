#include "FrameFixture.h"
#include "QtPrinters.h"

#include "app/BackgroundReaderCall.h"
#include "app/CHalvidView.h"
#include "app/CProcessView.h"
#include "app/CInfoBar.h"
#include "pages/CCardPage.h"
#include "pages/CMifareStdPage.h"
#include "pages/CPortSetPage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <semaphore>
#include <thread>

namespace {

// rf_init_com of a library that answers at once `answersBeforeHanging` times, then does not answer
// until the test lets it go (or, should the program wrongly wait for it, after half a minute, so
// that the test fails instead of hanging).
std::binary_semaphore release{0};
std::atomic<bool> entered{false};
std::atomic<int> answersBeforeHanging{0};

int32_t ZENTRAVA_CALL hangingInitCom(int32_t, int32_t)
{
    if (answersBeforeHanging-- > 0)
        return 0;
    entered = true;
    (void)release.try_acquire_for(std::chrono::seconds(30));
    return 0;
}

using StartupHangTest = FrameFixture;

// Every connection waits for the library the same way: the Connecting window shows, a click on the
// page starts no operation while the library is busy, and closing the frame ends the program.
TEST_F(StartupHangTest, TheConnectingWindowShowsAndClosingTheFrameEndsTheProgram)
{
    const struct {
        const char *place;
        int heldButton;          // clicked while the library hangs
        QStringList calls;       // the calls the recording fake saw
        QString memo;
    } cases[] = {
        {"start-up", CMifareStdPage::RequestButton, {}, QString()},
        // The open port is dropped and that reported before the new connection hangs.
        {"port page's Connect", CPortSetPage::GetButton, {"rf_close_com"}, "Error: Connect failed"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.place);
        const bool atStartup = c.calls.isEmpty();
        reader->clearCalls();
        entered = false;
        answersBeforeHanging = atStartup ? 0 : 1;
        writeSettings(int(CardKind::MifareStdS50), 1, 1);
        FakeLibraryApp app(*reader);
        ReaderApi.rf_init_com = hangingInitCom;
        bool connectingShown = false;
        // The operator's hand, run by the event loop while the library hangs.
        QTimer hand;
        QObject::connect(&hand, &QTimer::timeout, [&] {
            if (!entered)
                return;
            hand.stop();
            for (QWidget *widget : QApplication::topLevelWidgets())
                connectingShown |= widget->objectName() == QLatin1String("connectingWindow") && widget->isVisible();
            QTest::mouseClick(app.mainFrame()->view()->page()->button(c.heldButton), Qt::LeftButton);
            app.mainFrame()->close();
        });
        hand.start(0);

        EXPECT_EQ(app.initInstance(), !atStartup);
        if (!atStartup) {
            app.mainFrame()->onCommand(CmdPortSet);
            QTest::mouseClick(app.mainFrame()->view()->page()->button(CPortSetPage::ConnectButton), Qt::LeftButton);
        }
        EXPECT_TRUE(connectingShown);
        // No operation ran: neither a reader call nor a report beyond the case's own.
        EXPECT_EQ(reader->callNames(), c.calls);
        EXPECT_EQ(sounds, c.memo.isEmpty() ? 0 : 1);
        EXPECT_EQ(app.mainFrame()->infoBar()->memoText(), c.memo);
        EXPECT_TRUE(app.mainFrame()->processView()->entries().isEmpty());
        EXPECT_EQ(app.exitInstance(), 0);
        EXPECT_EQ(app.callsBeforeFree, -1) << "the library stays loaded while a call is inside it";
        EXPECT_TRUE(QFile::exists(settingsPath()));
        release.release();
        while (BackgroundReaderCall::anyRunning())
            std::this_thread::yield();
        sounds = 0;
    }
}

} // namespace
