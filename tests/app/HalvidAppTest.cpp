#include "FrameFixture.h"

#include "app/CHalvidApp.h"
#include "app/CHalvidView.h"
#include "app/CProcessView.h"
#include "app/SingleInstance.h"

namespace {

// The application with the recording fake in place of the library; it notes when the library
// would be freed, with the reader calls made by then and the settings written by then.
class FakeLibraryApp : public CHalvidApp
{
public:
    explicit FakeLibraryApp(FakeReader &reader)
        : m_reader(reader)
    {
    }

    int callsBeforeFree = -1;
    QByteArray settingsAtFree;

protected:
    bool loadReaderLibrary() override { return true; }
    void freeReaderLibrary() override
    {
        callsBeforeFree = int(m_reader.calls().size());
        QFile settings(FrameFixture::settingsPath());
        if (settings.open(QIODevice::ReadOnly))
            settingsAtFree = settings.readAll();
    }

private:
    FakeReader &m_reader;
};

class HalvidAppTest : public FrameFixture
{
protected:
    static QString savedSettings()
    {
        ResetRuntimeState();
        ReadSettings();
        return QStringLiteral("%1 %2 %3").arg(CardType).arg(ComPort).arg(BaudRate);
    }
};

TEST_F(HalvidAppTest, StartsMaximisedOnTheSavedCardAndConnects)
{
    writeSettings(1, 1, 2);
    FakeLibraryApp app(*reader);
    ASSERT_TRUE(app.initInstance());
    CMainFrame *frame = app.mainFrame();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->windowState().testFlag(Qt::WindowMaximized));
    EXPECT_TRUE(frame->commandAction(32774)->isChecked());
    EXPECT_EQ(frame->view()->shownCardType(), CardKind::MifareStdS50);
    EXPECT_EQ(reader->calls().at(0).args, (std::vector<int64_t>{1, 19200}));
    EXPECT_EQ(frame->processView()->entries().size(), 1);
    EXPECT_TRUE(boxes.empty());

    // Exit: the frame closes the open port before the library is freed, and the settings are
    // written after that.
    CardType = 10;
    EXPECT_EQ(app.exitInstance(), 0);
    EXPECT_EQ(app.callsBeforeFree, 2);
    EXPECT_EQ(reader->callNames().last(), QStringLiteral("rf_close_com"));
    EXPECT_TRUE(app.settingsAtFree.contains("\"CurCard\"=dword:00000001"));
    EXPECT_EQ(savedSettings(), "10 1 2");
}

TEST_F(HalvidAppTest, CommandLineValuesReplaceTheSavedOnesForTheRunAndAreSaved)
{
    writeSettings(1, 0, 2);
    {
        FakeLibraryApp app(*reader);
        app.setStartupOverrides({1, 1, 2});
        ASSERT_TRUE(app.initInstance());
        EXPECT_EQ(app.mainFrame()->view()->shownCardType(), CardKind::MifareStdS70);
        EXPECT_EQ(reader->calls().at(0).args, (std::vector<int64_t>{1, 14400}));
        app.exitInstance();
    }
    EXPECT_EQ(savedSettings(), "2 1 1");

    FakeLibraryApp portPage(*reader);
    portPage.setStartupOverrides({{}, {}, PortPageCardType});
    ASSERT_TRUE(portPage.initInstance());
    EXPECT_EQ(portPage.mainFrame()->view()->shownCardType(), CardKind::PortPage);
    portPage.exitInstance();
}

TEST_F(HalvidAppTest, SavedCardTypesOutsideTheMenu)
{
    const struct {
        int saved, shown;
        const char *titleEnd;
    } cases[] = {
        {255, 0, "Mifare_UltraLight"}, // the port page is never restored
        {26, 26, "Set"},
        {27, 27, "Demo"},
        {99, 0, "Mifare_UltraLight"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.saved);
        writeSettings(c.saved, 1, 1);
        FakeLibraryApp app(*reader);
        ASSERT_TRUE(app.initInstance());
        CMainFrame *frame = app.mainFrame();
        EXPECT_EQ(CardType, c.shown);
        EXPECT_TRUE(frame->windowTitle().endsWith(QStringLiteral("  -  ") + QString::fromLatin1(c.titleEnd)));
        EXPECT_EQ(frame->view()->shownCardType(), CardKind(c.shown));
        if (c.shown >= 26) {
            EXPECT_EQ(frame->view()->page(), nullptr);
            for (QAction *action : frame->findChildren<QAction *>())
                EXPECT_FALSE(action->isChecked()) << action->objectName().toStdString();
        }
        app.exitInstance();
        QFile::remove(settingsPath());
    }
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
    EXPECT_EQ(savedSettings(), "6 2 3");

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

// A first start has no settings: it looks for the simulated reader on COM1 and saves that port.
// Settings that exist keep their values, a missing ComPort (0) included. The fifth value, every
// page in "Choose Card", comes from the option or the saved value and is saved beside the four.
TEST_F(HalvidAppTest, FirstStartConnectsOnCom1AndEveryPageInTheMenuIsRemembered)
{
    {
        FakeLibraryApp app(*reader);
        app.setStartupOverrides({{}, {}, {}, true});
        ASSERT_TRUE(app.initInstance());
        EXPECT_EQ(reader->calls().at(0).args, (std::vector<int64_t>{1, 14400}));
        EXPECT_NE(app.mainFrame()->commandAction(32802), nullptr); // SHC1102
        app.exitInstance();
    }
    EXPECT_EQ(savedSettings(), "1 1 1");
    EXPECT_TRUE(AllCardsInMenu);

    reader->clearCalls();
    {
        FakeLibraryApp app(*reader);
        ASSERT_TRUE(app.initInstance());
        EXPECT_TRUE(app.mainFrame()->commandAction(CmdAllCards)->isChecked());
        app.mainFrame()->onCommand(CmdAllCards);
        app.exitInstance();
    }
    ResetRuntimeState();
    ReadSettings();
    EXPECT_FALSE(AllCardsInMenu);

    QFile file(settingsPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvale\\IORFCard]\n\"CurCard\"=dword:00000002\n");
    file.close();
    reader->clearCalls();
    FakeLibraryApp app(*reader);
    ASSERT_TRUE(app.initInstance());
    EXPECT_EQ(reader->calls().at(0).args, (std::vector<int64_t>{0, 14400}));
    EXPECT_EQ(app.mainFrame()->commandAction(32802), nullptr);
    app.exitInstance();
}

} // namespace
