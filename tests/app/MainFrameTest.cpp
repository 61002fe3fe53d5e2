#include "FrameFixture.h"

#include "app/CHalvidView.h"
#include "app/CInfoBar.h"
#include "app/CProcessView.h"
#include "base/CardTypes.h"
#include "pages/CPortSetPage.h"
#include "base/ProgramDirectory.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTemporaryDir>
#include <QUrl>

namespace {

using MainFrameTest = FrameFixture;

QString infoField(const CMainFrame &frame, int id)
{
    return frame.infoBar()->findChild<QWidget *>(QStringLiteral("id%1").arg(id))->property("text").toString();
}

QStringList entriesOf(const QMenu *menu)
{
    QStringList names;
    for (const QAction *action : menu->actions()) {
        if (action->isSeparator())
            names << QStringLiteral("-");
        else if (action->menu() != nullptr)
            names << action->text();
        else
            names << action->objectName();
    }
    return names;
}

QMenu *menuTitled(const CMainFrame &frame, const QString &title)
{
    for (QAction *action : frame.menuBar()->actions()) {
        if (action->text() == title)
            return action->menu();
    }
    return nullptr;
}

TEST_F(MainFrameTest, MenuOfThisBuildAfterPruning)
{
    CMainFrame frame;
    QStringList titles;
    for (QAction *action : frame.menuBar()->actions())
        titles << action->text();
    EXPECT_EQ(titles, (QStringList{"File(&F)", "Choose Card(&I)", "Set(&P)", "Help(&H)"}));

    QMenu *chooseCard = menuTitled(frame, QStringLiteral("Choose Card(&I)"));
    ASSERT_NE(chooseCard, nullptr);
    EXPECT_EQ(entriesOf(chooseCard), (QStringList{"ISO14443A", "ISO14443B", "ISO15693"}));
    EXPECT_EQ(entriesOf(chooseCard->actions()[0]->menu()), (QStringList{"cmd32787", "cmd32774", "cmd32810", "cmd32786"}));
    EXPECT_EQ(entriesOf(chooseCard->actions()[1]->menu()), (QStringList{"cmd32788", "cmd32789", "cmd32776"}));
    EXPECT_EQ(entriesOf(chooseCard->actions()[2]->menu()), (QStringList{"cmd32812", "cmd32790"}));
    EXPECT_EQ(entriesOf(menuTitled(frame, QStringLiteral("Set(&P)"))),
              (QStringList{"cmd32781", "-", "cmd32783", "cmd32784", "-", "cmd32801"}));
    EXPECT_EQ(entriesOf(menuTitled(frame, QStringLiteral("Help(&H)"))), (QStringList{"cmd32803", "cmd57664"}));
    EXPECT_EQ(entriesOf(menuTitled(frame, QStringLiteral("File(&F)"))), (QStringList{"cmd57665"}));

    for (int gone : {32780, 32800, 32792, 32793, 32799, 32814})
        EXPECT_EQ(frame.commandAction(gone), nullptr) << gone;
    EXPECT_EQ(frame.commandAction(32810)->text(), QStringLiteral("Mifare_Std S70"));
    EXPECT_EQ(frame.commandAction(32784)->text(), QStringLiteral("Connect"));
    EXPECT_EQ(frame.commandAction(57664)->text(), QStringLiteral("About Vornex(&A)..."));
}

TEST_F(MainFrameTest, PruningFollowsTheFlagsTable)
{
    const auto pruned = [](const std::function<void(CardMenuFlags &)> &change) {
        QMenu menu;
        CMainFrame::FillChooseCardMenu(&menu);
        CardMenuFlags flags = CardMenuEnabled;
        change(flags);
        CMainFrame::PruneCardMenu(&menu, flags);
        QStringList shape;
        for (QAction *action : menu.actions())
            shape << (action->menu() ? action->text() + QStringLiteral(":") + entriesOf(action->menu()).join(u',')
                                     : action->objectName());
        return shape;
    };
    const auto keepAll = [](CardMenuFlags &flags) {
        for (auto &flag : flags.iso7816)
            flag.keep = true;
        flags.sam = true;
    };

    EXPECT_EQ(pruned(keepAll).size(), 5);
    EXPECT_TRUE(pruned(keepAll)[3].startsWith(QStringLiteral("ISO7816:cmd32800,cmd32792,-,cmd32793")));
    EXPECT_EQ(pruned(keepAll)[4], QStringLiteral("cmd32780"));

    // Without the memory cards, the separator before them goes.
    EXPECT_EQ(pruned([](CardMenuFlags &flags) {
                  flags.iso7816[0].keep = true;
                  flags.iso7816[1].keep = true;
              })[3],
              QStringLiteral("ISO7816:cmd32800,cmd32792"));
    // With only the separator left, the whole group goes.
    EXPECT_EQ(pruned([](CardMenuFlags &) {}).size(), 3);
    // A group whose entries are all off goes; entries off in a kept group go alone.
    const QStringList noB = pruned([](CardMenuFlags &flags) {
        for (auto &flag : flags.iso14443b)
            flag.keep = false;
        flags.iso14443a[3].keep = false; // S70
    });
    EXPECT_EQ(noB, (QStringList{"ISO14443A:cmd32787,cmd32774,cmd32786", "ISO15693:cmd32812,cmd32790"}))
        << noB.join(u' ').toStdString();
    // Commands the menu does not hold (pass-through, SHC1102) change nothing.
    EXPECT_EQ(pruned([](CardMenuFlags &flags) {
                  flags.passThrough = false;
                  flags.iso14443a[0].keep = false;
              }),
              pruned([](CardMenuFlags &) {}));
}

TEST_F(MainFrameTest, ConnectAndDisconnectWithTheirEnabling)
{
    ComPort = 2;
    BaudRate = 5;
    CMainFrame frame;
    QAction *connectAction = frame.commandAction(CmdConnect);
    QAction *disconnectAction = frame.commandAction(CmdDisconnect);
    EXPECT_TRUE(connectAction->isEnabled());
    EXPECT_FALSE(disconnectAction->isEnabled());

    disconnectAction->trigger();
    EXPECT_TRUE(reader->calls().empty());

    connectAction->trigger();
    ASSERT_EQ(reader->callNames(), QStringList{QStringLiteral("rf_init_com")});
    EXPECT_EQ(reader->calls()[0].args, (std::vector<int64_t>{2, 57600}));
    EXPECT_TRUE(PortOpen);
    EXPECT_EQ(frame.infoBar()->memoText(), QStringLiteral("Connect successful"));
    EXPECT_FALSE(connectAction->isEnabled());
    EXPECT_TRUE(disconnectAction->isEnabled());
    EXPECT_EQ(sounds, 0);

    disconnectAction->trigger();
    EXPECT_EQ(reader->callNames(), (QStringList{"rf_init_com", "rf_close_com"}));
    EXPECT_FALSE(PortOpen);
    EXPECT_EQ(frame.infoBar()->memoText(), QStringLiteral("Disconnect succeddful"));
    EXPECT_TRUE(connectAction->isEnabled());

    reader->clearCalls();
    reader->scriptStatus(QStringLiteral("rf_init_com"), 0x20);
    frame.onCommand(CmdConnect);
    EXPECT_EQ(reader->callNames(), (QStringList{"rf_init_com", "rf_close_com"}));
    EXPECT_FALSE(PortOpen);
    EXPECT_EQ(frame.infoBar()->memoText(), QStringLiteral("Error: Opend port failed"));
    EXPECT_EQ(sounds, 1);
    // Neither command writes to the log pane.
    EXPECT_TRUE(frame.processView()->entries().isEmpty());

    // The port page may open the port behind the frame's back: the menu follows when it opens.
    PortOpen = true;
    frame.updateCommandUi();
    EXPECT_FALSE(connectAction->isEnabled());
    EXPECT_TRUE(disconnectAction->isEnabled());
}

TEST_F(MainFrameTest, TitleInfoBarAndCheckMarksFollowTheCardCommands)
{
    CardType = 1;
    ComPort = 4;
    BaudRate = 6;
    CMainFrame frame;
    EXPECT_EQ(infoField(frame, 1180), QStringLiteral("COM4"));
    EXPECT_EQ(infoField(frame, 1181), QStringLiteral("115200"));
    frame.show();
    QApplication::processEvents();
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Vornex  -  Mifare_Std S50"));
    frame.SelectCardItem(1);
    EXPECT_TRUE(frame.commandAction(32774)->isChecked());

    frame.view()->ShowPage(1);
    QWidget *page = frame.view()->page();
    frame.setWindowTitle(QStringLiteral("unchanged"));
    frame.onCommand(32774);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("unchanged"));
    EXPECT_EQ(frame.view()->page(), page);

    frame.commandAction(32787)->trigger();
    EXPECT_EQ(CardType, 0);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Vornex  -  Mifare_UltraLight"));
    EXPECT_TRUE(frame.commandAction(32787)->isChecked());
    EXPECT_FALSE(frame.commandAction(32774)->isChecked());
    EXPECT_EQ(frame.view()->shownCardType(), 0);
    EXPECT_EQ(infoField(frame, 1182), QStringLiteral("Mifare_UltraLight"));

    // A card without a menu entry (SHC1102) is reached through its command all the same.
    frame.onCommand(32802);
    EXPECT_EQ(CardType, 21);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Vornex  -  SHC1102"));
    EXPECT_FALSE(frame.commandAction(32787)->isChecked());
}

TEST_F(MainFrameTest, PortSetShowsThePortPageAndKeepsTheBarsCardName)
{
    CardType = 1;
    CMainFrame frame;
    frame.SelectCardItem(1);
    frame.commandAction(CmdPortSet)->trigger();
    EXPECT_EQ(CardType, PortPageCardType);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Vornex  -  Set"));
    EXPECT_FALSE(frame.commandAction(32774)->isChecked());
    EXPECT_NE(qobject_cast<CPortSetPage *>(frame.view()->page()), nullptr);
    EXPECT_EQ(frame.view()->shownCardType(), PortPageCardType);
    EXPECT_EQ(infoField(frame, 1182), QStringLiteral("Mifare_Std S50"));

    QWidget *page = frame.view()->page();
    frame.onCommand(CmdPortSet);
    EXPECT_EQ(frame.view()->page(), page);

    // Leaving the port page unchecks nothing and checks the new card.
    frame.onCommand(32812);
    EXPECT_EQ(CardType, 10);
    EXPECT_TRUE(frame.commandAction(32812)->isChecked());
}

TEST_F(MainFrameTest, StartupConnectLogsItsCallWithoutClearing)
{
    ComPort = 1;
    BaudRate = 0;
    CMainFrame frame;
    frame.processView()->appendEntry(QStringLiteral("earlier"), 0);
    frame.StartupConnect();
    ASSERT_EQ(frame.processView()->entries().size(), 2);
    EXPECT_EQ(frame.processView()->entries()[1].text, QStringLiteral("rf_init_com"));
    EXPECT_EQ(frame.processView()->entries()[1].status, 0);
    EXPECT_EQ(reader->calls()[0].args, (std::vector<int64_t>{1, 9600}));
    EXPECT_TRUE(PortOpen);
    EXPECT_TRUE(frame.infoBar()->memoText().isEmpty());
    EXPECT_EQ(sounds, 0);
    // The pop-up is gone once the attempt is over.
    for (QWidget *widget : QApplication::topLevelWidgets())
        EXPECT_NE(widget->objectName(), QStringLiteral("connectingWindow"));

    PortOpen = false;
    reader->clearCalls();
    reader->scriptStatus(QStringLiteral("rf_init_com"), 1);
    frame.StartupConnect();
    EXPECT_EQ(reader->callNames(), (QStringList{"rf_init_com", "rf_close_com"}));
    EXPECT_EQ(frame.processView()->entries().last().status, 1);
    EXPECT_FALSE(PortOpen);
    EXPECT_EQ(frame.infoBar()->memoText(), QStringLiteral("Error: Port did't opened"));
    EXPECT_EQ(sounds, 1);
}

TEST_F(MainFrameTest, ClosingWithThePortOpenClosesIt)
{
    {
        CMainFrame frame;
        frame.show();
        PortOpen = true;
        frame.commandAction(CmdExit)->trigger();
        EXPECT_FALSE(frame.isVisible());
        EXPECT_EQ(reader->callNames(), QStringList{QStringLiteral("rf_close_com")});
        EXPECT_FALSE(PortOpen);
    }
    reader->clearCalls();
    CMainFrame frame;
    frame.show();
    frame.close();
    EXPECT_TRUE(reader->calls().empty());
}

TEST_F(MainFrameTest, SplitterRowsAndFrameStyle)
{
    CMainFrame frame;
    const int ideal = (768 * 4 - 360) / 5;
    EXPECT_EQ(frame.pageRowIdealHeight(), ideal);
    EXPECT_EQ(frame.splitter()->orientation(), Qt::Vertical);
    EXPECT_EQ(frame.splitter()->widget(0), frame.view());
    EXPECT_EQ(frame.splitter()->widget(1), frame.processView());
    EXPECT_EQ(frame.processView()->minimumHeight(), 50);
    EXPECT_FALSE(frame.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

    frame.resize(1000, 740);
    frame.show();
    QApplication::processEvents();
    EXPECT_EQ(frame.splitter()->sizes().value(0), ideal);
    // The log pane takes what the window gains.
    frame.resize(1000, 900);
    QApplication::processEvents();
    EXPECT_EQ(frame.splitter()->sizes().value(0), ideal);
    EXPECT_EQ(frame.infoBar()->geometry().bottom(), frame.centralWidget()->height() - 1);
}

TEST_F(MainFrameTest, HelpTopicOpensTheHelpFileElseTheManualAndSaysWhenItCannot)
{
    struct Case {
        const char *what;
        bool helpFile;
        bool manual;
        bool browserOpens;
        const char *opened; // "chm", "manual" or nothing
        bool box;
    };
    const Case cases[] = {
        {"help file beside the program", true, true, true, "chm", false},
        {"manual in the browser", false, true, true, "manual", false},
        {"no browser", false, true, false, "manual", true},
        {"no manual", false, false, true, "", true},
    };
    QTemporaryDir folder;
    const QString manual = folder.filePath(QStringLiteral("index.html"));
    const QString help = ProgramFilePath(QStringLiteral("RFHELP.CHM"));
    CMainFrame::setManualPath(manual);
    for (const Case &c : cases) {
        std::vector<QUrl> opened;
        const CMainFrame::DocumentOpener previous = CMainFrame::setDocumentOpener([&](const QUrl &url) {
            opened.push_back(url);
            return c.browserOpens;
        });
        QFile::remove(help);
        QFile::remove(manual);
        if (c.helpFile) {
            ASSERT_TRUE(QFile(help).open(QIODevice::WriteOnly));
        }
        if (c.manual) {
            ASSERT_TRUE(QFile(manual).open(QIODevice::WriteOnly));
        }
        boxes.clear();
        {
            CMainFrame frame;
            frame.commandAction(CmdHelpTopic)->trigger();
            EXPECT_TRUE(frame.infoBar()->memoText().isEmpty()) << c.what;
        }
        QFile::remove(help);
        const QString expected = QString::fromLatin1(c.opened);
        const std::vector<QUrl> expectedUrls =
            expected.isEmpty() ? std::vector<QUrl>{}
                               : std::vector<QUrl>{QUrl::fromLocalFile(expected == QLatin1String("chm") ? help : manual)};
        EXPECT_EQ(opened, expectedUrls) << c.what;
        ASSERT_EQ(boxes.size(), c.box ? 1u : 0u) << c.what;
        if (c.box) {
            EXPECT_TRUE(boxes[0].text.contains(manual)) << c.what;
        }
        CMainFrame::setDocumentOpener(previous);
    }
    CMainFrame::setManualPath(QString());
}

} // namespace
