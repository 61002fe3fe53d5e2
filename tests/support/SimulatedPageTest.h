#pragma once

#include "PageHarness.h"
#include "SimulatorSession.h"

#include "consoles/CConsolePage.h"
#include "consoles/CTipListBox.h"

#include <gtest/gtest.h>

#include <memory>

// A page driven end to end against the simulated reader: lay a scenario, open the page, and
// work its controls as the operator does.
class SimulatedPageTest : public ::testing::Test
{
protected:
    void TearDown() override { m_page.reset(); }

    // Lays the cards of a scenario on the reader; null leaves the reader's own default field.
    void start(const char *scenario, bool openPort = true) { ASSERT_TRUE(m_session.start(scenario, openPort)); }

    template <class Page, class... Args>
    Page &open(Args... args)
    {
        auto page = std::make_unique<Page>(args...);
        Page &shown = *page;
        m_page = std::move(page);
        return shown;
    }

    // ASCII text as the upper-case hex digits a field shows.
    static QString hexOf(const char *ascii) { return QString::fromLatin1(QByteArray(ascii).toHex().toUpper()); }

    QString text(int id) { return PageHarness::text(m_page.get(), id); }
    void click(int id) { PageHarness::click(m_page.get(), id); }
    void setText(int id, const QString &value) { PageHarness::setText(m_page.get(), id, value); }
    void choose(int id, const QString &item) { PageHarness::choose(m_page.get(), id, item); }
    // A console page: sends a command and gives the answer line (nothing when no line came).
    QString send(int field, int button, const QString &command)
    {
        const CTipListBox *results = static_cast<CConsolePage *>(m_page.get())->resultList();
        const int before = results->count();
        setText(field, command);
        click(button);
        return results->count() > before ? results->item(before)->text() : QString();
    }

    // Declared in this order so that the library is freed before the harness puts back the
    // table it found, and the page goes first.
    PageHarness harness;
    SimulatorSession m_session;
    std::unique_ptr<QWidget> m_page;
};
