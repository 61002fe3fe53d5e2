#pragma once

#include "PageTest.h"
#include "QtPrinters.h"

#include "consoles/CConsolePage.h"
#include "consoles/CTipListBox.h"
#include "reader/ReaderLibrary.h"
#include "reader/RuntimeState.h"

#include <QFile>
#include <QSaveFile>

#include <gtest/gtest.h>

#include <memory>

// A page driven end to end against the simulated reader beside the tests, loaded as the program
// loads its reader library: lay a scenario, open the page, and work its controls as the operator
// does.
class SimulatedPageTest : public PageTest<QWidget>
{
protected:
    ~SimulatedPageTest() override
    {
        if (PortOpen && ReaderApi.rf_close_com != nullptr)
            ReaderApi.rf_close_com();
    }
    void TearDown() override { m_page.reset(); }

    // Lays the cards of a scenario (JSON text) on the reader, null for the reader's own default
    // field, loads the library and, unless told not to, opens the port that the program opens at
    // start-up (COM1 at 14400 bits per second).
    void start(const char *scenario, bool openPort = true)
    {
        const QString path = qEnvironmentVariable("ZENTRAVA_SCENARIO");
        ASSERT_FALSE(path.isEmpty()) << "the tests run with a private scenario file (ZENTRAVA_SCENARIO)";
        // Replaced by rename, so that the reader sees a new file.
        QSaveFile file(path);
        ASSERT_TRUE(scenario == nullptr ? !QFile::exists(path) || QFile::remove(path)
                                        : file.open(QIODevice::WriteOnly) && file.write(scenario) >= 0 && file.commit())
            << "cannot write the scenario " << path.toStdString();
        ASSERT_TRUE(m_library.load(ReaderLibrary::defaultPath())) << ReaderLibrary::defaultPath().toStdString();
        PortOpen = false;
        if (openPort) {
            ASSERT_EQ(ReaderApi.rf_init_com(1, 14400), 0) << "the simulated reader refused COM1";
            PortOpen = true;
        }
    }

    template <class Page, class... Args>
    Page &open(Args... args)
    {
        m_page = std::make_unique<Page>(args...);
        return static_cast<Page &>(*m_page);
    }

    // ASCII text as the upper-case hex digits a field shows.
    static QString hexOf(const char *ascii) { return QString::fromLatin1(QByteArray(ascii).toHex().toUpper()); }

    // A console page: sends a command and gives the answer line (nothing when no line came).
    QString send(int field, int button, const QString &command)
    {
        const CTipListBox *results = static_cast<CConsolePage *>(m_page.get())->resultList();
        const int before = results->count();
        setText(field, command);
        click(button);
        return results->count() > before ? results->item(before)->text() : QString();
    }

    // Freed before the harness of the base puts back the table it found; the page goes first.
    ReaderLibrary m_library;
};
