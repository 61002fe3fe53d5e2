#include "FrameFixture.h"

#include "app/CHalvidView.h"
#include "app/CInfoBar.h"
#include "app/CProcessView.h"
#include "app/ConnectingWindow.h"
#include "base/CardTypes.h"
#include "base/ProgramDirectory.h"
#include "pages/CCardPage.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QSplitter>
#include <QTemporaryDir>
#include <QUrl>

namespace {

using MainFrameTest = FrameFixture;

QLabel *field(const CInfoBar &bar, int id)
{
    return bar.findChild<QLabel *>(QStringLiteral("id%1").arg(id));
}

QString infoField(const CMainFrame &frame, int id)
{
    return field(*frame.infoBar(), id)->text();
}

// A menu as "-" for separators, "title:entries" for submenus and command names otherwise.
QStringList entriesOf(const QMenu *menu)
{
    QStringList names;
    for (const QAction *action : menu->actions())
        names << (action->isSeparator() ? QStringLiteral("-")
                  : action->menu()      ? action->text() + u':' + entriesOf(action->menu()).join(u',')
                                        : action->objectName());
    return names;
}

// This build's menu by default; on request (the check item under "Set") every page, each entry
// showing its page with its name in the title and the information bar, and back again. The card
// already shown keeps its page (and what the operator typed into it) and its title; the port page
// keeps the bar's card name and checks no card, and shown again it keeps its page.
TEST_F(MainFrameTest, MenuOfThisBuildAfterPruningAndEveryPageOnRequest)
{
    CardType = 1;
    CMainFrame frame;
    frame.show();
    QApplication::processEvents();
    const auto menus = [&] {
        QStringList texts;
        for (QAction *action : frame.menuBar()->actions())
            texts << action->text() + u'=' + entriesOf(action->menu()).join(u'|');
        return texts;
    };
    const QString thisBuild = QStringLiteral("Choose Card(&I)=ISO14443A:cmd32787,cmd32774,cmd32810,cmd32786|"
                                             "ISO14443B:cmd32788,cmd32789,cmd32776|ISO15693:cmd32812,cmd32790");
    EXPECT_EQ(menus(), (QStringList{"File(&F)=cmd57665", thisBuild, "Set(&P)=cmd32781|-|cmd32783|cmd32784|-|cmd32801|cmd32816",
                                    "Help(&H)=cmd32803|cmd57664"}));
    for (int gone : {32780, 32800, 32792, 32793, 32799, 32814, 32802})
        EXPECT_EQ(frame.commandAction(gone), nullptr) << gone;

    frame.SelectCardItem(CardKind::MifareStdS50);
    QAction *allCards = frame.commandAction(CmdAllCards);
    allCards->trigger();
    EXPECT_TRUE(AllCardsInMenu);
    EXPECT_TRUE(allCards->isChecked());
    EXPECT_EQ(menus()[1], QStringLiteral("Choose Card(&I)=ISO14443A:cmd32787,cmd32774,cmd32810,cmd32786,cmd32802,cmd32813|"
                                         "ISO14443B:cmd32788,cmd32789,cmd32776,cmd32811,cmd32815|"
                                         "ISO15693:cmd32812,cmd32790,cmd32804,cmd32805|"
                                         "ISO7816:cmd32800,cmd32792,-,cmd32793,cmd32794,cmd32795,cmd32796,cmd32797,cmd32798,cmd32799|"
                                         "cmd32780|cmd32814"));
    EXPECT_EQ(checkedCards(frame), QStringList{QStringLiteral("cmd32774")});
    for (int cardType = 0; cardType < 26; ++cardType) {
        SCOPED_TRACE(cardType);
        const CardKind kind = CardKind(cardType);
        QAction *entry = frame.commandAction(CardTypeEntry(kind).commandId);
        ASSERT_NE(entry, nullptr);
        EXPECT_TRUE(entry->isEnabled());
        entry->trigger();
        EXPECT_EQ(std::pair(CardType, frame.view()->shownCardType()), std::pair(cardType, std::optional<CardKind>(kind)));
        EXPECT_EQ(checkedCards(frame), QStringList{entry->objectName()});
        EXPECT_EQ(frame.windowTitle(), QStringLiteral("Vornex  -  ") + CardName(kind));
        EXPECT_EQ(infoField(frame, CInfoBar::CardTypeValue), CardName(kind));
    }
    QWidget *page = frame.view()->page();
    frame.setWindowTitle(QStringLiteral("unchanged"));
    frame.onCommand(CardTypeEntry(CardKind(25)).commandId);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("unchanged"));
    EXPECT_EQ(frame.view()->page(), page);
    for (int shown = 0; shown < 2; ++shown) {
        const QPointer<QWidget> before = frame.view()->page();
        frame.onCommand(CmdPortSet);
        EXPECT_EQ(std::pair(CardType, frame.view()->shownCardType()),
                  std::pair(int(CardKind::PortPage), std::optional<CardKind>(CardKind::PortPage)));
        EXPECT_EQ(before == frame.view()->page(), shown == 1);
        EXPECT_EQ(frame.windowTitle(), QStringLiteral("Vornex  -  Set"));
        EXPECT_EQ(infoField(frame, CInfoBar::CardTypeValue), CardName(CardKind(25)));
        EXPECT_EQ(checkedCards(frame), QStringList{});
    }
    frame.onCommand(CmdAllCards);
    EXPECT_FALSE(AllCardsInMenu);
    EXPECT_FALSE(allCards->isChecked());
    EXPECT_EQ(menus()[1], thisBuild);
}

TEST_F(MainFrameTest, PruningFollowsTheFlagsTable)
{
    const auto pruned = [](const std::function<void(CardMenuFlags &)> &change) {
        QMenu menu;
        CMainFrame::FillChooseCardMenu(&menu);
        CardMenuFlags flags = CardMenuEnabled;
        change(flags);
        CMainFrame::PruneCardMenu(&menu, flags);
        return entriesOf(&menu);
    };
    const QStringList all = pruned([](CardMenuFlags &flags) {
        for (auto &flag : flags.iso7816)
            flag.keep = true;
        flags.sam = true;
    });
    EXPECT_EQ(all.size(), 5);
    EXPECT_TRUE(all[3].startsWith(QStringLiteral("ISO7816:cmd32800,cmd32792,-,cmd32793")));
    EXPECT_EQ(all[4], QStringLiteral("cmd32780"));
    // Without the memory cards, the separator before them goes.
    EXPECT_EQ(pruned([](CardMenuFlags &flags) { flags.iso7816[0].keep = flags.iso7816[1].keep = true; })[3],
              QStringLiteral("ISO7816:cmd32800,cmd32792"));
    // A group whose entries are all off goes; entries off in a kept group go alone.
    EXPECT_EQ(pruned([](CardMenuFlags &flags) {
                  for (auto &flag : flags.iso14443b)
                      flag.keep = false;
                  flags.iso14443a[3].keep = false; // S70
              }),
              (QStringList{"ISO14443A:cmd32787,cmd32774,cmd32786", "ISO15693:cmd32812,cmd32790"}));
    // Commands the menu does not hold (pass-through, SHC1102) change nothing.
    EXPECT_EQ(pruned([](CardMenuFlags &flags) { flags.passThrough = flags.iso14443a[0].keep = false; }),
              pruned([](CardMenuFlags &) {}));
}

TEST_F(MainFrameTest, ConnectAndDisconnectWithTheirEnablingAndTheConnectionAtStartUp)
{
    ComPort = 2;
    BaudRate = 5;
    CMainFrame frame;
    QAction *connectAction = frame.commandAction(CmdConnect);
    QAction *disconnectAction = frame.commandAction(CmdDisconnect);
    // The two commands' enabling, whether the port is open, and the information bar.
    const auto state = [&] {
        return QStringLiteral("%1%2 %3 %4")
            .arg(int(connectAction->isEnabled()))
            .arg(int(disconnectAction->isEnabled()))
            .arg(int(PortOpen))
            .arg(frame.infoBar()->memoText());
    };
    EXPECT_EQ(state(), "10 0 ");
    EXPECT_EQ(infoField(frame, CInfoBar::PortValue) + infoField(frame, CInfoBar::BaudValue), QStringLiteral("COM257600"));
    disconnectAction->trigger();
    EXPECT_TRUE(reader->calls().empty());

    const struct {
        int command; // 0: the connection at start-up
        int32_t status;
        QStringList trace;
        const char *state;
        int sounds;
    } sessions[] = {
        {CmdConnect, 0, {"rf_init_com(2,57600)"}, "01 1 Connect successful", 0},
        {CmdDisconnect, 0, {"rf_close_com()"}, "10 0 Disconnect succeddful", 0},
        {CmdConnect, 0x20, {"rf_init_com(2,57600)", "rf_close_com()"}, "10 0 Error: Opend port failed", 1},
        {0, 0, {"rf_init_com(2,57600)"}, "01 1 ", 0},
        {0, 1, {"rf_init_com(2,57600)", "rf_close_com()"}, "10 0 Error: Port did't opened", 1},
    };
    for (const auto &s : sessions) {
        SCOPED_TRACE(s.state);
        reader->clearCalls();
        if (s.status != 0)
            reader->scriptStatus(QStringLiteral("rf_init_com"), s.status);
        sounds = 0;
        frame.infoBar()->showMemo(QString());
        frame.processView()->clearEntries();
        frame.processView()->appendEntry(QStringLiteral("earlier"), 0);
        s.command != 0 ? frame.onCommand(s.command) : void(frame.StartupConnect());
        EXPECT_EQ(reader->trace(), s.trace);
        EXPECT_EQ(state(), s.state);
        EXPECT_EQ(sounds, s.sounds);
        // Neither command writes to the log pane; the connection at start-up adds its call to it.
        QStringList log;
        for (const auto &entry : frame.processView()->entries())
            log << QStringLiteral("%1 %2").arg(entry.text).arg(entry.status);
        EXPECT_EQ(log.join(u'|'), s.command != 0 ? QStringLiteral("earlier 0") : QStringLiteral("earlier 0|rf_init_com %1").arg(s.status));
        // The pop-up is gone once the attempt is over.
        for (QWidget *widget : QApplication::topLevelWidgets())
            EXPECT_NE(widget->objectName(), QStringLiteral("connectingWindow"));
    }

    // The port page may open the port behind the frame's back: the menu follows when it opens.
    PortOpen = true;
    frame.updateCommandUi();
    EXPECT_TRUE(state().startsWith(u"01"));

    // Exit closes the frame, and calls nothing when the port is closed; the program's end closes
    // an open one (its test).
    reader->clearCalls();
    PortOpen = false;
    frame.show();
    frame.commandAction(CmdExit)->trigger();
    EXPECT_FALSE(frame.isVisible());
    EXPECT_TRUE(reader->calls().empty());
}

TEST_F(MainFrameTest, ThePageRowKeepsItsHeightAndTheLogPaneTakesWhatTheWindowGains)
{
    CMainFrame frame;
    const int ideal = (768 * 4 - 360) / 5;
    EXPECT_EQ(frame.pageRowIdealHeight(), ideal);
    EXPECT_FALSE(frame.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    for (int height : {740, 900}) {
        showAt(frame, 1000, height);
        EXPECT_EQ(frame.splitter()->sizes().value(0), ideal) << height;
    }
    EXPECT_EQ(frame.infoBar()->geometry().bottom(), frame.centralWidget()->height() - 1);
}

TEST_F(MainFrameTest, HelpTopicOpensTheHelpFileElseTheManualAndSaysWhenItCannot)
{
    const struct {
        const char *what;
        bool helpFile, manual, browserOpens;
        const char *opened; // "chm", "manual" or nothing
    } cases[] = {
        {"help file beside the program", true, true, true, "chm"},
        {"manual in the browser", false, true, true, "manual"},
        {"no browser", false, true, false, "manual"},
        {"no manual", false, false, true, ""},
    };
    QTemporaryDir folder;
    const QString manual = folder.filePath(QStringLiteral("index.html"));
    const QString help = ProgramFilePath(QStringLiteral("RFHELP.CHM"));
    CMainFrame::setManualPath(manual);
    CMainFrame frame;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<QUrl> opened;
        const CMainFrame::DocumentOpener previous = CMainFrame::setDocumentOpener([&](const QUrl &url) {
            opened.push_back(url);
            return c.browserOpens;
        });
        QFile::remove(manual);
        ASSERT_TRUE(!c.helpFile || QFile(help).open(QIODevice::WriteOnly));
        ASSERT_TRUE(!c.manual || QFile(manual).open(QIODevice::WriteOnly));
        boxes.clear();
        frame.commandAction(CmdHelpTopic)->trigger();
        EXPECT_TRUE(frame.infoBar()->memoText().isEmpty());
        QFile::remove(help);
        CMainFrame::setDocumentOpener(previous);
        const QString expected = QString::fromLatin1(c.opened);
        EXPECT_EQ(opened, expected.isEmpty() ? std::vector<QUrl>{}
                                             : std::vector<QUrl>{QUrl::fromLocalFile(expected == "chm" ? help : manual)});
        // The operator is told where the manual should be when it does not open.
        const bool told = !c.browserOpens || !c.manual;
        ASSERT_EQ(boxes.size(), told ? 1u : 0u);
        EXPECT_TRUE(!told || boxes[0].text.contains(manual));
    }
    CMainFrame::setManualPath(QString());
}

// The values' texts are the frame's and the port page's to check; here their colour.
TEST(InfoBarTest, ValueFieldsInRed)
{
    LanguageIndex = 0;
    CInfoBar chineseBar;
    LanguageIndex = 1;
    EXPECT_EQ(field(chineseBar, CInfoBar::CardTypeLabel)->text(), QStringLiteral("卡类型:"));
    CInfoBar bar;
    for (int id = CInfoBar::PortValue; id <= CInfoBar::MemoValue; ++id)
        EXPECT_EQ(field(bar, id)->palette().color(QPalette::WindowText), QColor(255, 0, 0)) << id;
    EXPECT_EQ(field(bar, CInfoBar::MemoLabel)->palette().color(QPalette::WindowText), QColor(Qt::black));
}

TEST(ConnectingWindowTest, RedConnectingCentredOnTheScreen)
{
    ConnectingWindow window;
    EXPECT_EQ(window.text(), QStringLiteral("Connecting"));
    window.showCentred();
    QApplication::processEvents();
    const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((window.geometry().center() - screenCentre).manhattanLength(), 2);
    const QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            red += qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) < 60 && qBlue(image.pixel(x, y)) < 60;
    // 50-pixel text: a great many red pixels.
    EXPECT_GT(red, 500);
}

} // namespace
