#pragma once

#include "app/SingleInstance.h"
#include "reader/ReaderLibrary.h"

#include <memory>

class CMainFrame;

// The application object: starts the program in its fixed order and ends it.
class CHalvidApp
{
public:
    CHalvidApp();
    virtual ~CHalvidApp();
    CHalvidApp(const CHalvidApp &) = delete;
    CHalvidApp &operator=(const CHalvidApp &) = delete;

    // Start-up: true to run the event loop, false to end the program.
    bool initInstance();
    // Instance exit: closes the frame if it is still open, frees the reader library, then
    // writes the settings (except for a second copy, which never read them). Returns the exit
    // code.
    int exitInstance();

    CMainFrame *mainFrame() const { return m_frame.get(); }
    // Whether this copy runs or ended at the single-instance check.
    bool isSecondInstance() const { return m_secondInstance; }

    // Start-up without the settings: the screenshot and benchmark runs keep the operator's
    // settings untouched and show exactly the card type asked for.
    void setUsesSettings(bool uses) { m_usesSettings = uses; }
    // Start-up without the single-instance lock (screenshots may run beside the program).
    void setSingleInstance(bool single) { m_singleInstance = single; }

protected:
    // The reader library; tests put a fake in its place.
    virtual bool loadReaderLibrary();
    virtual void freeReaderLibrary();

private:
    SingleInstance m_instanceLock;
    ReaderLibrary m_library;
    std::unique_ptr<CMainFrame> m_frame;
    bool m_usesSettings = true;
    bool m_singleInstance = true;
    bool m_settingsRead = false;
    bool m_secondInstance = false;
};
