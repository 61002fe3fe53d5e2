#include "FrameFixture.h"

#include "app/CHalvidApp.h"
#include "app/CHalvidView.h"
#include "app/CInfoBar.h"
#include "app/CProcessView.h"
#include "app/SingleInstance.h"
#include "reader/ReaderLibrary.h"

#include <QApplication>

namespace {

// The application with the recording fake in place of the library; it notes when the library
// would be freed, with the reader calls made by then and whether the settings already exist.
class FakeLibraryApp : public CHalvidApp
{
public:
    explicit FakeLibraryApp(FakeReader &reader, bool loads = true)
        : m_reader(reader)
        , m_loads(loads)
    {
    }

    int callsBeforeFree = -1;
    QByteArray settingsAtFree;

protected:
    bool loadReaderLibrary() override { return m_loads; }
    void freeReaderLibrary() override
    {
        callsBeforeFree = int(m_reader.calls().size());
        QFile settings(FrameFixture::settingsPath());
        if (settings.open(QIODevice::ReadOnly))
            settingsAtFree = settings.readAll();
    }

private:
    FakeReader &m_reader;
    bool m_loads;
};

using HalvidAppTest = FrameFixture;

TEST_F(HalvidAppTest, StartsMaximisedOnTheSavedCardAndConnects)
{
    writeSettings(1, 1, 2);
    FakeLibraryApp app(*reader);
    ASSERT_TRUE(app.initInstance());
    CMainFrame *frame = app.mainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->windowState().testFlag(Qt::WindowMaximized));
    EXPECT_EQ(CardType, 1);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Vornex  -  Mifare_Std S50"));
    EXPECT_TRUE(frame->commandAction(32774)->isChecked());
    EXPECT_EQ(frame->view()->shownCardType(), 1);
    ASSERT_EQ(reader->callNames(), QStringList{QStringLiteral("rf_init_com")});
    EXPECT_EQ(reader->calls()[0].args, (std::vector<int64_t>{1, 19200}));
    ASSERT_EQ(frame->processView()->entries().size(), 1);
    EXPECT_EQ(frame->processView()->entries()[0].text, QStringLiteral("rf_init_com"));
    EXPECT_TRUE(PortOpen);
    EXPECT_TRUE(boxes.empty());

    // Exit: the frame closes the open port before the library is freed, and the settings are
    // written after that.
    CardType = 10;
    EXPECT_EQ(app.exitInstance(), 0);
    EXPECT_EQ(app.callsBeforeFree, 2);
    EXPECT_EQ(reader->callNames().last(), QStringLiteral("rf_close_com"));
    EXPECT_TRUE(app.settingsAtFree.contains("\"CurCard\"=dword:00000001"));
    ResetRuntimeState();
    ReadSettings();
    EXPECT_EQ(CardType, 10);
    EXPECT_EQ(ComPort, 1);
    EXPECT_EQ(BaudRate, 2);
}

TEST_F(HalvidAppTest, CommandLineValuesReplaceTheSavedOnesForTheRunAndAreSaved)
{
    writeSettings(1, 0, 2);
    {
        FakeLibraryApp app(*reader);
        app.setStartupOverrides({1, 1, 2});
        ASSERT_TRUE(app.initInstance());
        EXPECT_EQ(app.mainFrame()->view()->shownCardType(), 2);
        ASSERT_EQ(reader->callNames(), QStringList{QStringLiteral("rf_init_com")});
        EXPECT_EQ(reader->calls()[0].args, (std::vector<int64_t>{1, 14400}));
        app.exitInstance();
    }
    ResetRuntimeState();
    ReadSettings();
    EXPECT_EQ(ComPort, 1);
    EXPECT_EQ(BaudRate, 1);
    EXPECT_EQ(CardType, 2);

    FakeLibraryApp portPage(*reader);
    portPage.setStartupOverrides({{}, {}, PortPageCardType});
    ASSERT_TRUE(portPage.initInstance());
    EXPECT_EQ(portPage.mainFrame()->view()->shownCardType(), PortPageCardType);
    EXPECT_EQ(ComPort, 1);
    portPage.exitInstance();
}

TEST_F(HalvidAppTest, SavedCardTypesOutsideTheMenu)
{
    const struct {
        int saved;
        int shown;
        const char *titleEnd;
    } cases[] = {
        {255, 0, "Mifare_UltraLight"}, // the port page is never restored
        {26, 26, "Set"},
        {27, 27, "Demo"},
        {99, 0, "Mifare_UltraLight"},
        {-3, 0, "Mifare_UltraLight"},
    };
    for (const auto &c : cases) {
        writeSettings(c.saved, 1, 1);
        FakeLibraryApp app(*reader);
        ASSERT_TRUE(app.initInstance()) << c.saved;
        CMainFrame *frame = app.mainFrame();
        EXPECT_EQ(CardType, c.shown) << c.saved;
        EXPECT_TRUE(frame->windowTitle().endsWith(QStringLiteral("  -  ") + QString::fromLatin1(c.titleEnd)))
            << c.saved << " " << frame->windowTitle().toStdString();
        EXPECT_EQ(frame->view()->shownCardType(), c.shown);
        if (c.shown >= 26) {
            EXPECT_EQ(frame->view()->page(), nullptr);
            for (QAction *action : frame->findChildren<QAction *>())
                EXPECT_FALSE(action->isChecked()) << action->objectName().toStdString();
        }
        app.exitInstance();
        QFile::remove(settingsPath());
    }
}

TEST_F(HalvidAppTest, MissingLibraryShowsTheBoxAndStillWritesTheSettings)
{
    writeSettings(4, 3, 5);
    FakeLibraryApp app(*reader, false);
    EXPECT_FALSE(app.initInstance());
    EXPECT_EQ(app.mainFrame(), nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Load Zentrava.dll failed !"));
    EXPECT_TRUE(boxes[0].caption.isEmpty());
    EXPECT_EQ(boxes[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(boxes[0].icon, MessageIcon::None);
    QFile::remove(settingsPath());
    app.exitInstance();
    EXPECT_TRUE(reader->calls().empty());
    ResetRuntimeState();
    ReadSettings();
    EXPECT_EQ(CardType, 4);
    EXPECT_EQ(ComPort, 3);
    EXPECT_EQ(BaudRate, 5);
}

TEST_F(HalvidAppTest, SecondCopyEndsSilentlyAndWritesNoSettings)
{
    writeSettings(6, 2, 3);
    SingleInstance running(QStringLiteral("Vornex"));
    ASSERT_TRUE(running.acquire());

    FakeLibraryApp second(*reader);
    EXPECT_FALSE(second.initInstance());
    EXPECT_TRUE(second.isSecondInstance());
    EXPECT_EQ(second.mainFrame(), nullptr);
    EXPECT_TRUE(boxes.empty());
    CardType = 0;
    ComPort = 1;
    second.exitInstance();
    ResetRuntimeState();
    ReadSettings();
    EXPECT_EQ(CardType, 6);
    EXPECT_EQ(ComPort, 2);

    // Once the first copy has ended, a new one runs and holds the lock in the runtime folder
    // until it ends.
    running.release();
    EXPECT_EQ(running.lockPath(), qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/Vornex.lock"));
    FakeLibraryApp next(*reader);
    ASSERT_TRUE(next.initInstance());
    EXPECT_FALSE(running.acquire());
    next.exitInstance();
    EXPECT_TRUE(running.acquire());
}

TEST_F(HalvidAppTest, StartsAgainstTheSimulatedReaderBesideTheProgram)
{
    // The tests are built with the library beside them; its absence is a failure, not a skip.
    ASSERT_TRUE(QFile::exists(ReaderLibrary::defaultPath())) << "no reader library built beside the tests";
    reader.reset(); // the real library binds ReaderApi
    writeSettings(26, 1, 1);
    {
        CHalvidApp app;
        ASSERT_TRUE(app.initInstance());
        EXPECT_TRUE(PortOpen);
        EXPECT_EQ(app.mainFrame()->processView()->entries().value(0).status, 0);
        app.mainFrame()->onCommand(CmdDisconnect);
        app.mainFrame()->onCommand(CmdConnect);
        EXPECT_EQ(app.mainFrame()->infoBar()->memoText(), QStringLiteral("Connect successful"));
        app.exitInstance();
        EXPECT_FALSE(PortOpen);
        EXPECT_EQ(ReaderApi.rf_init_com, nullptr);
    }
    // The reader sits on COM1 only: another port fails and is reported.
    writeSettings(26, 5, 1);
    CHalvidApp app;
    ASSERT_TRUE(app.initInstance());
    EXPECT_FALSE(PortOpen);
    EXPECT_NE(app.mainFrame()->processView()->entries().value(0).status, 0);
    EXPECT_EQ(app.mainFrame()->infoBar()->memoText(), QStringLiteral("Error: Port did't opened"));
    app.exitInstance();
}

} // namespace
