#include "FrameFixture.h"

#include "app/CHalvidView.h"
#include "app/CProcessView.h"
#include "app/SingleInstance.h"
#include "base/CardTypes.h"

namespace {

using HalvidAppTest = FrameFixture;

// The saved card, port, rate and "every page in Choose Card", or the command line's values in
// their place (saved then as if chosen); the port page is never restored, card types beyond the
// menu show no page. A first start has no settings: it looks for the simulated reader on COM1 and
// saves that port; settings that exist keep their values, a missing ComPort (0) included. The
// program starts maximised and connected; at its end the frame closes the open port before the
// library is freed, and the settings are written after that.
TEST_F(HalvidAppTest, WhatTheProgramStartsOnAndSaves)
{
    const struct {
        const char *settings; // "CardType ComPort BaudRate [AllCards]", a key file's text, or none
        StartupOverrides overrides;
        int shown;
        std::vector<int64_t> connection;
        const char *titleEnd, *saved;
    } cases[] = {
        {"1 1 2", {}, 1, {1, 19200}, "Mifare_Std S50", "1 1 2 0"},
        {"1 0 2", {1, 1, 2}, 2, {1, 14400}, "Mifare_ Std S70", "2 1 1 0"},
        {"1 0 2", {{}, {}, PortPageCardType}, PortPageCardType, {0, 19200}, "Set", "255 0 2 0"},
        {"255 1 1", {}, 0, {1, 14400}, "Mifare_UltraLight", "0 1 1 0"},
        {"26 1 1", {}, 26, {1, 14400}, "Set", "26 1 1 0"},
        {"27 1 1", {}, 27, {1, 14400}, "Demo", "27 1 1 0"},
        {nullptr, {}, 1, {1, 14400}, "Mifare_Std S50", "1 1 1 0"},
        {"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvale\\IORFCard]\n\"CurCard\"=dword:00000002\n", {}, 2, {0, 14400},
         "Mifare_ Std S70", "2 0 1 0"},
        {"1 1 2", {{}, {}, {}, true}, 1, {1, 19200}, "Mifare_Std S50", "1 1 2 1"},
        {"1 1 2 1", {}, 1, {1, 19200}, "Mifare_Std S50", "1 1 2 1"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.settings == nullptr ? "no settings" : c.settings);
        QFile::remove(settingsPath());
        ResetRuntimeState();
        if (c.settings != nullptr && c.settings[0] == '[') {
            ASSERT_TRUE(writeBytes(settingsPath(), c.settings));
        } else if (c.settings != nullptr) {
            const QStringList values = QString::fromLatin1(c.settings).split(u' ');
            AllCardsInMenu = values.value(3) == u"1";
            writeSettings(values[0].toInt(), values[1].toInt(), values[2].toInt());
        }
        reader->clearCalls();
        boxes.clear();
        {
            FakeLibraryApp app(*reader);
            app.setStartupOverrides(c.overrides);
            ASSERT_TRUE(app.initInstance());
            CMainFrame *frame = app.mainFrame();
            EXPECT_TRUE(frame->isVisible());
            EXPECT_TRUE(frame->windowState().testFlag(Qt::WindowMaximized));
            EXPECT_EQ(frame->view()->shownCardType(), CardKind(c.shown));
            EXPECT_TRUE(frame->windowTitle().endsWith(QStringLiteral("  -  ") + QString::fromLatin1(c.titleEnd)));
            EXPECT_EQ(reader->calls().at(0).args, c.connection);
            EXPECT_EQ(frame->processView()->entries().size(), 1);
            EXPECT_TRUE(boxes.empty());
            const bool allCards = QByteArray(c.saved).endsWith('1');
            EXPECT_EQ(frame->commandAction(CmdAllCards)->isChecked(), allCards);
            EXPECT_EQ(frame->commandAction(32802) != nullptr, allCards); // SHC1102
            EXPECT_EQ(checkedCards(*frame), c.shown >= 26 ? QStringList{}
                                             : QStringList{QStringLiteral("cmd%1").arg(CardTypeEntry(CardKind(c.shown)).commandId)});
            const QByteArray before = fileBytes(settingsPath());
            EXPECT_EQ(app.exitInstance(), 0);
            EXPECT_EQ(app.callsBeforeFree, 2);
            EXPECT_EQ(reader->callNames().value(1), QStringLiteral("rf_close_com"));
            EXPECT_EQ(app.settingsAtFree, before);
        }
        EXPECT_EQ(savedSettings(), c.saved);
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
    EXPECT_EQ(savedSettings(), "6 2 3 0");

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
