#include "app/CHalvidApp.h"

#include "app/BackgroundReaderCall.h"
#include "app/CHalvidView.h"
#include "app/CMainFrame.h"
#include "reporting/UserPrompts.h"
#include "reader/RuntimeState.h"
#include "reader/Settings.h"

namespace {

// The application title, which also names the single-instance lock.
const QString ApplicationTitle = QStringLiteral("Vornex");

// A first start (no settings yet) looks for the reader on COM1, where the simulated reader that
// ships with the program answers, so that it starts connected. Once the settings exist their
// values count, a missing ComPort (0) included.
constexpr int FirstStartComPort = 1;

} // namespace

CHalvidApp::CHalvidApp()
    : m_instanceLock(ApplicationTitle)
{
}

CHalvidApp::~CHalvidApp() = default;

bool CHalvidApp::initInstance()
{
    if (m_singleInstance && !m_instanceLock.acquire()) {
        m_secondInstance = true;
        return false;
    }

    if (m_usesSettings) {
        if (!ReadSettings())
            ComPort = FirstStartComPort;
        m_settingsRead = true;
    }
    if (m_overrides.comPort)
        ComPort = *m_overrides.comPort;
    if (m_overrides.baudRateIndex)
        BaudRate = *m_overrides.baudRateIndex;
    if (m_overrides.allCards)
        AllCardsInMenu = true;
    const bool portPageAsked = m_overrides.cardType == PortPageCardType;
    if (m_overrides.cardType && !portPageAsked)
        CardType = *m_overrides.cardType;

    if (!loadReaderLibrary()) {
        ShowMessageBox(nullptr, QStringLiteral("Load Zentrava.dll failed !"), QString(), MessageIcon::None,
                       MessageButtons::Ok);
        return false;
    }

    m_frame = std::make_unique<CMainFrame>();
    m_frame->showMaximized();

    m_frame->SelectCardItem(CardKind(CardType));
    m_frame->view()->ShowPage(CardKind(CardType));
    m_frame->repaint();
    if (!m_frame->StartupConnect())
        return false;
    if (portPageAsked)
        m_frame->onCommand(CmdPortSet);
    return true;
}

int CHalvidApp::exitInstance()
{
    if (m_frame != nullptr) {
        m_frame->close();
        m_frame.reset();
    }
    // A library still inside a call (hanging in rf_init_com) stays loaded until the process ends.
    if (!BackgroundReaderCall::anyRunning())
        freeReaderLibrary();
    if (m_settingsRead)
        WriteSettings();
    m_instanceLock.release();
    return 0;
}

bool CHalvidApp::loadReaderLibrary()
{
    return m_library.load(m_readerLibrary.isEmpty() ? ReaderLibrary::defaultPath() : m_readerLibrary);
}

void CHalvidApp::freeReaderLibrary()
{
    m_library.free();
}
