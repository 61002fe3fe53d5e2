#pragma once

#include "app/CardMenuFlags.h"
#include "reporting/ReaderOperation.h"
#include "base/CardTypes.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

class BackgroundReaderCall;
class CHalvidView;
class CInfoBar;
class FrameReportSink;
class CProcessView;
class QMenu;
class QSplitter;
class QUrl;

// Menu command ids of the frame (the card commands come from the card table).
enum FrameCommand {
    CmdPortSet = 32781,
    CmdDisconnect = 32783,
    CmdConnect = 32784,
    CmdSetBackground = 32801,
    CmdHelpTopic = 32803,
    CmdSam = 32780,
    CmdAllCards = 32816, // "All Card Pages", the check item that offers every page in "Choose Card"
    CmdAbout = 57664,
    CmdExit = 57665,
};

// The main window: the card menu, the page host above the log pane, and the information bar
// along the bottom. Every command reaches onCommand() with its id, as the menu's QActions
// (object names "cmd<N>") do.
class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    explicit CMainFrame(QWidget *parent = nullptr);
    ~CMainFrame() override;

    // The one main frame, null when none exists.
    static CMainFrame *instance();

    CInfoBar *infoBar() const { return m_infoBar; }
    CProcessView *processView() const { return m_processView; }
    CHalvidView *view() const { return m_view; }
    QSplitter *splitter() const { return m_splitter; }
    // The page row's ideal height: (screen height x 4 - 360) / 5.
    int pageRowIdealHeight() const { return m_pageRowIdealHeight; }

    // The menu action of a command, null when the menu has none.
    QAction *commandAction(int commandId) const;

    // Runs a command as its menu entry would.
    void onCommand(int commandId);
    // Enables Connect while the port is closed and Disconnect while it is open.
    void updateCommandUi();

    // Deletes the entries this build does not offer from the "Choose Card" menu.
    void PruneCardMenu();
    static void PruneCardMenu(QMenu *chooseCard, const CardMenuFlags &flags);
    // The "Choose Card" menu as the menu resource holds it, before pruning.
    static void FillChooseCardMenu(QMenu *chooseCard);
    // Adds to a filled "Choose Card" menu the pages it leaves out, each in its group of the flags
    // table after the entries there, and enables the contact cards and the SAM.
    static void AddEveryCardPage(QMenu *chooseCard);

    // Title, check mark and information bar for a card type.
    void SelectCardItem(CardKind kind);
    void UncheckCardItem(CardKind kind);
    // The connection attempt at start-up with the saved port and rate (ConnectReader), logged in
    // the log pane. False when the frame was closed before the library answered.
    bool StartupConnect();

    // "SoftwareName  -  CardName".
    static QString titleFor(CardKind kind);

    // How documents (the help file) are opened; tests replace it. Returns the previous one.
    using DocumentOpener = std::function<bool(const QUrl &)>;
    static DocumentOpener setDocumentOpener(DocumentOpener opener);
    // Where "Help Topic" finds the manual when there is no help file: manual/index.html beside
    // the program; tests point it elsewhere (an empty path restores it).
    static QString manualPath();
    static void setManualPath(const QString &path);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
#ifdef _WIN32
    bool nativeEvent(const QByteArray &eventType, void *message, qintptr *result) override;
#endif

private:
    void buildMenu();
    static QAction *addCommand(QMenu *menu, int commandId, const QString &text);
    void setTitle(CardKind kind);
    // Builds "Choose Card" anew: this build's menu, or every page when AllCardsInMenu is set.
    void showCardMenu();
    void connectCommands(QMenu *menu);
    void checkCardItem(CardKind kind, bool checked);

    void onCardCommand(CardKind kind);
    void onPortSet();
    void onConnect();
    void onDisconnect();
    void onSetBackground();
    void onAllCards();
    void onHelpTopic();
    void onAbout();
    // How the frame waits for a call that may hang (HangingCallWaiter), for every connection:
    // beside the event loop, behind the Connecting window, ended without a status when the
    // frame closes.
    std::optional<int32_t> waitForHangingCall(const std::function<int32_t()> &call);

    CHalvidView *m_view = nullptr;
    CProcessView *m_processView = nullptr;
    CInfoBar *m_infoBar = nullptr;
    std::unique_ptr<FrameReportSink> m_reportSink;
    QSplitter *m_splitter = nullptr;
    QMenu *m_chooseCardMenu = nullptr;
    QMenu *m_setMenu = nullptr;
    int m_pageRowIdealHeight = 0;
    bool m_titleSet = false;
    BackgroundReaderCall *m_hangingCall = nullptr; // while a connection waits for the library
    HangingCallWaiter m_previousWaiter;
};
