#include "app/CMainFrame.h"

#include "app/FrameReportSink.h"

#include "app/BackgroundReaderCall.h"
#include "app/CHalvidView.h"
#include "app/CInfoBar.h"
#include "app/CProcessView.h"
#include "app/ConnectingWindow.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/Reporting.h"
#include "reporting/UserPrompts.h"
#include "app/ScreenMetrics.h"
#include "base/ProgramDirectory.h"
#include "reporting/ReaderConnection.h"
#include "reporting/ReaderOperation.h"
#include "reader/RuntimeState.h"
#include "shell/AppConfig.h"
#include "shell/CAboutDlg.h"
#include "shell/CBackgroundDlg.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMenuBar>
#include <QSplitter>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

CMainFrame *theFrame = nullptr;

constexpr int ProcessViewMinimumHeight = 50;

CMainFrame::DocumentOpener &documentOpener()
{
    static CMainFrame::DocumentOpener opener = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    return opener;
}

QString commandName(int commandId)
{
    return QStringLiteral("cmd%1").arg(commandId);
}

QAction *commandIn(QMenu *menu, int commandId)
{
    const QString name = commandName(commandId);
    for (QAction *action : menu->actions()) {
        if (action->objectName() == name)
            return action;
    }
    return nullptr;
}

void deleteCommand(QMenu *menu, int commandId)
{
    if (menu != nullptr)
        delete commandIn(menu, commandId);
}

QMenu *submenuAt(QMenu *menu, int position)
{
    const QList<QAction *> actions = menu->actions();
    return position < actions.size() ? actions[position]->menu() : nullptr;
}

void deletePosition(QMenu *menu, int position)
{
    const QList<QAction *> actions = menu->actions();
    if (position >= actions.size())
        return;
    QAction *action = actions[position];
    if (QMenu *submenu = action->menu())
        delete submenu; // takes its menu action along
    else
        delete action;
}

template <std::size_t N>
bool allDeleted(const std::array<CardMenuFlag, N> &flags, std::size_t from = 0)
{
    return std::all_of(flags.begin() + std::ptrdiff_t(from), flags.end(),
                       [](const CardMenuFlag &flag) { return !flag.keep; });
}

template <std::size_t N>
void deleteUnkept(QMenu *menu, const std::array<CardMenuFlag, N> &flags)
{
    for (const CardMenuFlag &flag : flags) {
        if (!flag.keep)
            deleteCommand(menu, flag.commandId);
    }
}

} // namespace

CMainFrame::CMainFrame(QWidget *parent)
    : QMainWindow(parent)
{
    theFrame = this;
    setObjectName(QStringLiteral("mainFrame"));
    // No maximise box: the frame always runs maximised.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    buildMenu();

    m_view = new CHalvidView;
    m_processView = new CProcessView;
    m_processView->setMinimumHeight(ProcessViewMinimumHeight);
    m_splitter = new QSplitter(Qt::Vertical);
    m_splitter->setObjectName(QStringLiteral("splitter"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(m_view);
    m_splitter->addWidget(m_processView);
    // Row 0 keeps its ideal height; the log pane takes what the window adds or loses.
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    const QSize screen = ScreenSize();
    m_pageRowIdealHeight = (screen.height() * 4 - 360) / 5;
    m_splitter->setSizes({m_pageRowIdealHeight, std::max(ProcessViewMinimumHeight, screen.height() - m_pageRowIdealHeight)});

    showCardMenu();
    // The port page is never restored at start-up, and a type outside the table has no row.
    CardType = int(ValidCardType(CardType));

    m_infoBar = new CInfoBar;
    m_infoBar->showPort(ComPort);
    m_infoBar->showBaud(CurrentBaudRate());
    m_infoBar->showCardType(CardKind(CardType));

    auto *client = new QWidget;
    client->setObjectName(QStringLiteral("frameClient"));
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_splitter, 1);
    layout->addWidget(m_infoBar, 0);
    setCentralWidget(client);
    m_view->setFocus();

    m_reportSink = std::make_unique<FrameReportSink>(m_infoBar, m_processView);
    m_reportSink->install();
    m_previousWaiter = SetHangingCallWaiter([this](const std::function<int32_t()> &call) { return waitForHangingCall(call); });
}

CMainFrame::~CMainFrame()
{
    SetHangingCallWaiter(std::move(m_previousWaiter));
    m_reportSink.reset();
    if (theFrame == this)
        theFrame = nullptr;
}

CMainFrame *CMainFrame::instance()
{
    return theFrame;
}

QAction *CMainFrame::addCommand(QMenu *menu, int commandId, const QString &text)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(commandName(commandId));
    return action;
}

void CMainFrame::FillChooseCardMenu(QMenu *chooseCard)
{
    struct Entry {
        int id;
        const char *text;
    };
    const auto addCardGroup = [chooseCard](const QString &title, std::initializer_list<Entry> entries) {
        QMenu *group = chooseCard->addMenu(title);
        group->setObjectName(QStringLiteral("menu") + title);
        for (const Entry &entry : entries) {
            if (entry.id == 0)
                group->addSeparator();
            else
                addCommand(group, entry.id, QString::fromLatin1(entry.text))->setCheckable(true);
        }
        return group;
    };
    addCardGroup(QStringLiteral("ISO14443A"), {{32787, "Mifare_UltraLight"}, {32774, "Mifare_Std S50"},
                                               {32810, "Mifare_Std S70"}, {32786, "Mifare_Pro(X)"}});
    addCardGroup(QStringLiteral("ISO14443B"), {{32788, "SR176"}, {32789, "SRIX4K"}, {32776, "AT88RF020"}});
    addCardGroup(QStringLiteral("ISO15693"), {{32812, "I.CODE SLI"}, {32790, "Tag_it"}});
    QMenu *iso7816 = addCardGroup(QStringLiteral("ISO7816"),
        {{32800, "AT88SC1608"}, {32792, "CPU Card"}, {0, nullptr}, {32793, "AT24C01"}, {32794, "AT24C02"},
         {32795, "AT24C04"}, {32796, "AT24C08"}, {32797, "AT24C16"}, {32798, "AT24C32"}, {32799, "AT24C64"}});
    iso7816->menuAction()->setEnabled(false);
    QAction *sam = addCommand(chooseCard, CmdSam, QStringLiteral("SAM"));
    sam->setCheckable(true);
    sam->setEnabled(false);
}

void CMainFrame::AddEveryCardPage(QMenu *chooseCard)
{
    const auto addMissing = [](QMenu *group, const auto &entries) {
        for (const CardMenuFlag &entry : entries) {
            if (group != nullptr && commandIn(group, entry.commandId) == nullptr)
                addCommand(group, entry.commandId, CardName(*CardKindForCommand(entry.commandId)).trimmed())
                    ->setCheckable(true);
        }
    };
    addMissing(submenuAt(chooseCard, 0), CardMenuEnabled.iso14443a);
    addMissing(submenuAt(chooseCard, 1), CardMenuEnabled.iso14443b);
    addMissing(submenuAt(chooseCard, 2), CardMenuEnabled.iso15693);
    if (QMenu *iso7816 = submenuAt(chooseCard, 3)) {
        addMissing(iso7816, CardMenuEnabled.iso7816);
        iso7816->menuAction()->setEnabled(true);
    }
    if (QAction *sam = commandIn(chooseCard, CmdSam))
        sam->setEnabled(true);
    if (commandIn(chooseCard, PassThroughCommandId) == nullptr)
        addCommand(chooseCard, PassThroughCommandId, QStringLiteral("Pass_Through"))->setCheckable(true);
}

void CMainFrame::showCardMenu()
{
    qDeleteAll(m_chooseCardMenu->findChildren<QMenu *>(Qt::FindDirectChildrenOnly));
    m_chooseCardMenu->clear();
    FillChooseCardMenu(m_chooseCardMenu);
    if (AllCardsInMenu)
        AddEveryCardPage(m_chooseCardMenu);
    else
        PruneCardMenu();
    connectCommands(m_chooseCardMenu);
    if (QAction *allCards = commandAction(CmdAllCards))
        allCards->setChecked(AllCardsInMenu);
}

void CMainFrame::connectCommands(QMenu *menu)
{
    // Every command goes the one way, whichever menu holds it.
    const QList<QAction *> actions = menu->findChildren<QAction *>();
    for (QAction *action : actions) {
        if (!action->objectName().startsWith(QLatin1String("cmd")))
            continue;
        const int commandId = action->objectName().mid(3).toInt();
        connect(action, &QAction::triggered, this, [this, commandId] { onCommand(commandId); });
    }
}

// Menu 129, the English menu the frame loads.
void CMainFrame::buildMenu()
{
    QMenuBar *bar = menuBar();

    QMenu *file = bar->addMenu(QStringLiteral("File(&F)"));
    addCommand(file, CmdExit, QStringLiteral("Exit(&X)"));

    // Filled by showCardMenu.
    m_chooseCardMenu = bar->addMenu(QStringLiteral("Choose Card(&I)"));
    m_chooseCardMenu->setObjectName(QStringLiteral("menuChooseCard"));

    m_setMenu = bar->addMenu(QStringLiteral("Set(&P)"));
    m_setMenu->setObjectName(QStringLiteral("menuSet"));
    addCommand(m_setMenu, CmdPortSet, QStringLiteral("Port Set"));
    m_setMenu->addSeparator();
    addCommand(m_setMenu, CmdDisconnect, QStringLiteral("Disconnect"));
    addCommand(m_setMenu, CmdConnect, QStringLiteral("Connect"));
    m_setMenu->addSeparator();
    addCommand(m_setMenu, CmdSetBackground, QStringLiteral("Set background"));
    addCommand(m_setMenu, CmdAllCards, QStringLiteral("All Card Pages"))->setCheckable(true);
    connect(m_setMenu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandUi);

    QMenu *help = bar->addMenu(QStringLiteral("Help(&H)"));
    addCommand(help, CmdHelpTopic, QStringLiteral("Help Topic(&H)"));
    addCommand(help, CmdAbout, QStringLiteral("About Vornex(&A)..."));

    for (QMenu *menu : {file, m_setMenu, help})
        connectCommands(menu);
    updateCommandUi();
}

QAction *CMainFrame::commandAction(int commandId) const
{
    return findChild<QAction *>(commandName(commandId));
}

void CMainFrame::PruneCardMenu()
{
    PruneCardMenu(m_chooseCardMenu, CardMenuEnabled);
}

void CMainFrame::PruneCardMenu(QMenu *chooseCard, const CardMenuFlags &flags)
{
    if (!flags.passThrough)
        deleteCommand(chooseCard, PassThroughCommandId);
    QMenu *iso14443a = submenuAt(chooseCard, 0);
    QMenu *iso14443b = submenuAt(chooseCard, 1);
    QMenu *iso15693 = submenuAt(chooseCard, 2);
    QMenu *iso7816 = submenuAt(chooseCard, 3);
    deleteUnkept(iso14443a, flags.iso14443a);
    deleteUnkept(iso14443b, flags.iso14443b);
    deleteUnkept(iso15693, flags.iso15693);
    deleteUnkept(iso7816, flags.iso7816);
    if (!flags.sam)
        deletePosition(chooseCard, 4);
    // From the higher positions down, so that the lower ones keep their place.
    if (allDeleted(flags.iso7816, 2) && iso7816 != nullptr) {
        if (iso7816->actions().size() < 2)
            deletePosition(chooseCard, 3);
        else
            delete iso7816->actions().last();
    }
    if (allDeleted(flags.iso15693))
        deletePosition(chooseCard, 2);
    if (allDeleted(flags.iso14443b))
        deletePosition(chooseCard, 1);
    if (allDeleted(flags.iso14443a))
        deletePosition(chooseCard, 0);
}

QString CMainFrame::titleFor(CardKind kind)
{
    return ReadAppConfig(AppConfigSoftwareName) + QStringLiteral("  -  ") + CardName(kind);
}

void CMainFrame::setTitle(CardKind kind)
{
    setWindowTitle(titleFor(kind));
    m_titleSet = true;
}

void CMainFrame::checkCardItem(CardKind kind, bool checked)
{
    if (!HasCardTypeRow(kind))
        return;
    if (QAction *action = commandAction(CardTypeEntry(kind).commandId))
        action->setChecked(checked);
}

void CMainFrame::SelectCardItem(CardKind kind)
{
    setTitle(kind);
    checkCardItem(kind, true);
    if (m_infoBar != nullptr)
        m_infoBar->showCardType(kind);
}

void CMainFrame::UncheckCardItem(CardKind kind)
{
    checkCardItem(kind, false);
}

void CMainFrame::updateCommandUi()
{
    if (QAction *connectAction = commandAction(CmdConnect))
        connectAction->setEnabled(!PortOpen);
    if (QAction *disconnectAction = commandAction(CmdDisconnect))
        disconnectAction->setEnabled(PortOpen);
}

void CMainFrame::onCommand(int commandId)
{
    if (const std::optional<CardKind> kind = CardKindForCommand(commandId)) {
        onCardCommand(*kind);
        return;
    }
    switch (commandId) {
    case CmdPortSet: onPortSet(); break;
    // A disabled menu entry cannot be chosen.
    case CmdConnect:
        if (!PortOpen)
            onConnect();
        break;
    case CmdDisconnect:
        if (PortOpen)
            onDisconnect();
        break;
    case CmdSetBackground: onSetBackground(); break;
    case CmdAllCards: onAllCards(); break;
    case CmdHelpTopic: onHelpTopic(); break;
    case CmdAbout: onAbout(); break;
    case CmdExit: close(); break;
    default: break;
    }
}

void CMainFrame::onCardCommand(CardKind kind)
{
    if (CardKind(CardType) == kind)
        return;
    UncheckCardItem(CardKind(CardType));
    CardType = int(kind);
    SelectCardItem(kind);
    m_view->ShowPage(kind);
}

void CMainFrame::onPortSet()
{
    if (CardKind(CardType) == CardKind::PortPage)
        return;
    UncheckCardItem(CardKind(CardType));
    setTitle(CardKind::PortPage);
    CardType = int(CardKind::PortPage);
    m_view->ShowPortPage();
}

void CMainFrame::onConnect()
{
    if (ConnectReader(ConnectPlace::Menu))
        updateCommandUi();
}

void CMainFrame::onDisconnect()
{
    DisconnectReader();
    ReportSuccess(Message(Msg::DisconnectSucceeded));
    updateCommandUi();
}

bool CMainFrame::StartupConnect()
{
    if (!ConnectReader(ConnectPlace::Startup))
        return false;
    updateCommandUi();
    return true;
}

std::optional<int32_t> CMainFrame::waitForHangingCall(const std::function<int32_t()> &call)
{
    ConnectingWindow connecting;
    connecting.showCentred();
    // The call runs beside the event loop: a library that never returns from it leaves the
    // window painted and closable.
    BackgroundReaderCall attempt(call);
    m_hangingCall = &attempt;
    const std::optional<int32_t> status = attempt.wait();
    m_hangingCall = nullptr;
    return status;
}

void CMainFrame::onHelpTopic()
{
    // The reader maker's help file when it lies beside the program; otherwise the manual that
    // ships with the program, in the desktop's browser.
    const QString helpFile = ProgramFilePath(QStringLiteral("RFHELP.CHM"));
    if (QFileInfo::exists(helpFile)) {
        documentOpener()(QUrl::fromLocalFile(helpFile));
        return;
    }
    const QString manual = manualPath();
    if (!QFileInfo::exists(manual)) {
        ShowMessageBox(this, QStringLiteral("The manual is not installed: %1 is missing.").arg(manual),
                       QStringLiteral("Help"), MessageIcon::Warning);
        return;
    }
    if (!documentOpener()(QUrl::fromLocalFile(manual)))
        ShowMessageBox(this,
                       QStringLiteral("No web browser could open the manual. Open %1 in a browser.").arg(manual),
                       QStringLiteral("Help"), MessageIcon::Warning);
}

void CMainFrame::onSetBackground()
{
    CBackgroundDlg chooser(CurBitmap, this);
    if (chooser.exec() != QDialog::Accepted || chooser.selection() == CurBitmap)
        return;
    CurBitmap = chooser.selection();
    m_view->refreshBackground();
}

void CMainFrame::onAllCards()
{
    AllCardsInMenu = !AllCardsInMenu;
    showCardMenu();
    checkCardItem(CardKind(CardType), true);
}

void CMainFrame::onAbout()
{
    CAboutDlg about(this);
    about.exec();
}

static QString &manualPathOverride()
{
    static QString path;
    return path;
}

QString CMainFrame::manualPath()
{
    return manualPathOverride().isEmpty() ? ProgramFilePath(QStringLiteral("manual/index.html")) : manualPathOverride();
}

void CMainFrame::setManualPath(const QString &path)
{
    manualPathOverride() = path;
}

CMainFrame::DocumentOpener CMainFrame::setDocumentOpener(DocumentOpener opener)
{
    DocumentOpener previous = std::move(documentOpener());
    documentOpener() = opener ? std::move(opener)
                              : DocumentOpener([](const QUrl &url) { return QDesktopServices::openUrl(url); });
    return previous;
}

void CMainFrame::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_titleSet)
        setTitle(CardKind(CardType));
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    // Closed while a connection hangs: the connection ends without its answer.
    if (m_hangingCall != nullptr)
        m_hangingCall->abandon();
    // The port is closed while the library is still loaded: instance exit frees it later.
    if (PortOpen)
        DisconnectReader();
    QMainWindow::closeEvent(event);
}

#ifdef _WIN32
bool CMainFrame::nativeEvent(const QByteArray &eventType, void *message, qintptr *result)
{
    // A double click on the caption would maximise or restore the frame: it does nothing.
    const MSG *msg = static_cast<const MSG *>(message);
    if (msg->message == WM_NCLBUTTONDBLCLK && msg->wParam == HTCAPTION) {
        *result = 0;
        return true;
    }
    return QMainWindow::nativeEvent(eventType, message, result);
}
#endif
