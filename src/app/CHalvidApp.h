#pragma once

#include "app/SingleInstance.h"
#include "reader/ReaderLibrary.h"

#include <memory>
#include <optional>

class CMainFrame;

// Values given on the command line for one run. They replace the saved ones once the settings
// are read, so they are saved on exit as if the operator had chosen them in the program.
struct StartupOverrides {
    std::optional<int> comPort;
    std::optional<int> baudRateIndex;
    std::optional<int> cardType; // 0 to 27, or PortPageCardType for the port page
    bool allCards = false;       // every card page in "Choose Card"
};

// The application object: starts the program in its fixed order and ends it.
class CHalvidApp
{
public:
    CHalvidApp();
    virtual ~CHalvidApp();
    CHalvidApp(const CHalvidApp &) = delete;
    CHalvidApp &operator=(const CHalvidApp &) = delete;

    // Start-up: true to run the event loop, false to end the program (also when the frame was
    // closed while the start-up connection waited for the library).
    bool initInstance();
    // Instance exit: closes the frame if it is still open, frees the reader library (unless a
    // call is still inside it), then writes the settings (except for a second copy, which never
    // read them). Returns the exit code.
    int exitInstance();

    CMainFrame *mainFrame() const { return m_frame.get(); }
    // Whether this copy runs or ended at the single-instance check.
    bool isSecondInstance() const { return m_secondInstance; }

    // Start-up without the settings: the screenshot and benchmark runs keep the operator's
    // settings untouched and show exactly the card type asked for.
    void setUsesSettings(bool uses) { m_usesSettings = uses; }
    // Start-up without the single-instance lock (screenshots may run beside the program).
    void setSingleInstance(bool single) { m_singleInstance = single; }
    void setStartupOverrides(const StartupOverrides &overrides) { m_overrides = overrides; }
    // The reader library's full path for this run (--reader); empty: the one beside the program.
    void setReaderLibrary(const QString &path) { m_readerLibrary = path; }

protected:
    // The reader library; tests put a fake in its place.
    virtual bool loadReaderLibrary();
    virtual void freeReaderLibrary();

private:
    SingleInstance m_instanceLock;
    ReaderLibrary m_library;
    std::unique_ptr<CMainFrame> m_frame;
    StartupOverrides m_overrides;
    QString m_readerLibrary;
    bool m_usesSettings = true;
    bool m_singleInstance = true;
    bool m_settingsRead = false;
    bool m_secondInstance = false;
};
