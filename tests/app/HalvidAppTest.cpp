#include "FrameFixture.h"
#include "TestFiles.h"

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
    explicit FakeLibraryApp(FakeReader &reader) : m_reader(reader) {}

    int callsBeforeFree = -1;
    QByteArray settingsAtFree;

protected:
    bool loadReaderLibrary() override { return true; }
    void freeReaderLibrary() override
    {
        callsBeforeFree = int(m_reader.calls().size());
        settingsAtFree = fileBytes(FrameFixture::settingsPath());
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

TEST_F(HalvidAppTest, StartsMaximisedOnTheSavedCardConnectsAndClosesThePortBeforeTheLibraryGoes)
{
    writeSettings(1, 1, 2);
    FakeLibraryApp app(*reader);
    ASSERT_TRUE(app.initInstance());
    CMainFrame *frame = app.mainFrame();
    EXPECT_TRUE(frame->isVisible() && frame->windowState().testFlag(Qt::WindowMaximized) && frame->commandAction(32774)->isChecked());
    EXPECT_TRUE(frame->processView()->entries().size() == 1 && boxes.empty());

    // Exit: the frame closes the open port before the library is freed, and the settings are
    // written after that.
    CardType = 10;
    EXPECT_EQ(std::pair(app.exitInstance(), app.callsBeforeFree), std::pair(0, 2));
    EXPECT_EQ(reader->callNames().last(), QStringLiteral("rf_close_com"));
    EXPECT_TRUE(app.settingsAtFree.contains("\"CurCard\"=dword:00000001"));
    EXPECT_EQ(savedSettings(), "10 1 2");
}

// The saved card, port and rate, or the command line's values in their place (saved then as if
// chosen); the port page is never restored, card types beyond the menu show no page. A first
// start has no settings: it looks for the simulated reader on COM1 and saves that port; settings
// that exist keep their values, a missing ComPort (0) included.
TEST_F(HalvidAppTest, WhatTheProgramStartsOnAndSaves)
{
    const struct {
        const char *settings; // "CardType ComPort BaudRate", a key file's text, or none
        StartupOverrides overrides;
        int shown;
        std::vector<int64_t> connection;
        const char *titleEnd, *saved;
    } cases[] = {
        {"1 1 2", {}, 1, {1, 19200}, "Mifare_Std S50", "1 1 2"},
        {"1 0 2", {1, 1, 2}, 2, {1, 14400}, "Mifare_ Std S70", "2 1 1"},
        {"1 0 2", {{}, {}, PortPageCardType}, PortPageCardType, {0, 19200}, "Set", "255 0 2"},
        {"255 1 1", {}, 0, {1, 14400}, "Mifare_UltraLight", "0 1 1"},
        {"26 1 1", {}, 26, {1, 14400}, "Set", "26 1 1"},
        {"27 1 1", {}, 27, {1, 14400}, "Demo", "27 1 1"},
        {"99 1 1", {}, 0, {1, 14400}, "Mifare_UltraLight", "0 1 1"},
        {nullptr, {}, 1, {1, 14400}, "Mifare_Std S50", "1 1 1"},
        {"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvale\\IORFCard]\n\"CurCard\"=dword:00000002\n", {}, 2, {0, 14400},
         "Mifare_ Std S70", "2 0 1"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.settings == nullptr ? "no settings" : c.settings);
        QFile::remove(settingsPath());
        if (c.settings != nullptr && c.settings[0] == '[') {
            ASSERT_TRUE(writeBytes(settingsPath(), c.settings));
        } else if (c.settings != nullptr) {
            const QStringList values = QString::fromLatin1(c.settings).split(u' ');
            writeSettings(values[0].toInt(), values[1].toInt(), values[2].toInt());
        }
        reader->clearCalls();
        {
            FakeLibraryApp app(*reader);
            app.setStartupOverrides(c.overrides);
            ASSERT_TRUE(app.initInstance());
            CMainFrame *frame = app.mainFrame();
            EXPECT_EQ(frame->view()->shownCardType(), CardKind(c.shown));
            EXPECT_TRUE(frame->windowTitle().endsWith(QStringLiteral("  -  ") + QString::fromLatin1(c.titleEnd)));
            EXPECT_EQ(reader->calls().at(0).args, c.connection);
            if (c.shown >= 26) {
                EXPECT_EQ(frame->view()->page() == nullptr, c.shown != PortPageCardType);
                for (QAction *action : frame->findChildren<QAction *>())
                    EXPECT_FALSE(action->isChecked()) << action->objectName().toStdString();
            }
            app.exitInstance();
        }
        EXPECT_EQ(savedSettings(), c.saved);
    }
}

// The fifth value, every page in "Choose Card", comes from the option or the saved value and is
// saved beside the four.
TEST_F(HalvidAppTest, EveryPageInTheMenuIsRemembered)
{
    for (const bool option : {true, false}) {
        FakeLibraryApp app(*reader);
        app.setStartupOverrides({{}, {}, {}, option});
        ASSERT_TRUE(app.initInstance());
        EXPECT_NE(app.mainFrame()->commandAction(32802), nullptr); // SHC1102
        EXPECT_TRUE(app.mainFrame()->commandAction(CmdAllCards)->isChecked());
        if (!option)
            app.mainFrame()->onCommand(CmdAllCards);
        app.exitInstance();
        ResetRuntimeState();
        ReadSettings();
        EXPECT_EQ(AllCardsInMenu, option);
    }
}

TEST_F(HalvidAppTest, SecondCopyEndsSilentlyAndWritesNoSettings)
{
    writeSettings(6, 2, 3);
    SingleInstance running(QStringLiteral("Vornex"));
    ASSERT_TRUE(running.acquire());
    FakeLibraryApp second(*reader);
    EXPECT_FALSE(second.initInstance());
    EXPECT_TRUE(second.isSecondInstance() && second.mainFrame() == nullptr && boxes.empty());
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

} // namespace
