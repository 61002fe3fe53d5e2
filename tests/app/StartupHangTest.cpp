#include "FrameFixture.h"

#include "app/BackgroundReaderCall.h"
#include "app/CHalvidApp.h"
#include "app/CHalvidView.h"
#include "app/CProcessView.h"
#include "pages/CCardPage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// rf_init_com of a library that does not answer until the test lets it go (or, should start-up
// wrongly wait for it, after half a minute, so that the test fails instead of hanging).
std::mutex gate;
std::condition_variable opened;
bool released = false;
std::atomic<bool> entered{false};

int32_t ZENTRAVA_CALL hangingInitCom(int32_t, int32_t)
{
    entered = true;
    std::unique_lock<std::mutex> lock(gate);
    opened.wait_for(lock, std::chrono::seconds(30), [] { return released; });
    return 0;
}

void releaseHangingCall()
{
    {
        const std::lock_guard<std::mutex> lock(gate);
        released = true;
    }
    opened.notify_all();
    while (BackgroundReaderCall::anyRunning())
        std::this_thread::yield();
}

class HangingLibraryApp : public CHalvidApp
{
public:
    bool freed = false;

protected:
    bool loadReaderLibrary() override
    {
        ReaderApi.rf_init_com = hangingInitCom;
        return true;
    }
    void freeReaderLibrary() override { freed = true; }
};

using StartupHangTest = FrameFixture;

TEST_F(StartupHangTest, TheConnectingWindowShowsAndClosingTheFrameEndsTheProgram)
{
    writeSettings(1, 1, 1);
    HangingLibraryApp app;
    bool connectingShown = false;
    // The operator's hand, run by the event loop while the library hangs.
    QTimer hand;
    QObject::connect(&hand, &QTimer::timeout, [&] {
        if (!entered)
            return;
        hand.stop();
        for (QWidget *widget : QApplication::topLevelWidgets())
            connectingShown |= widget->objectName() == QLatin1String("connectingWindow") && widget->isVisible();
        // The library is busy: a click on the page must start no operation.
        QTest::mouseClick(app.mainFrame()->view()->page()->findChild<QAbstractButton *>(QStringLiteral("id1010")),
                          Qt::LeftButton);
        app.mainFrame()->close();
    });
    hand.start(0);

    EXPECT_FALSE(app.initInstance());
    EXPECT_TRUE(connectingShown);
    // No operation ran: neither a reader call nor a report.
    EXPECT_TRUE(reader->calls().empty());
    EXPECT_EQ(sounds, 0);
    EXPECT_TRUE(app.mainFrame()->processView()->entries().isEmpty());
    EXPECT_EQ(app.exitInstance(), 0);
    EXPECT_FALSE(app.freed) << "the library stays loaded while a call is inside it";
    EXPECT_TRUE(QFile::exists(settingsPath()));
    releaseHangingCall();
}

} // namespace
