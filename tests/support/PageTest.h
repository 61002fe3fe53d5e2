#pragma once

#include "PageHarness.h"

#include <QComboBox>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

// A page under test with the recording fake reader around it, worked by control id as the
// operator works it. `Base` is ::testing::Test or a parameterised test.
template <class Page, class Base = ::testing::Test>
class PageTest : public Base
{
protected:
    template <class... Args>
    Page &open(Args &&...args) { return *(m_page = std::make_unique<Page>(std::forward<Args>(args)...)); }
    Page &show(Page *page) { return m_page.reset(page), *m_page; }
    Page &page() { return *m_page; }

    QString text(int id) { return PageHarness::text(m_page.get(), id); }
    void click(int id) { PageHarness::click(m_page.get(), id); }
    void setText(int id, const QString &value) { PageHarness::setText(m_page.get(), id, value); }
    void choose(int id, const QString &item) { PageHarness::choose(m_page.get(), id, item); }
    // The texts of a drop-down list, in order.
    QStringList items(int id)
    {
        QStringList texts;
        for (int i = 0; i < m_page->comboBox(id)->count(); ++i)
            texts << m_page->comboBox(id)->itemText(i);
        return texts;
    }
    FakeReader &reader() { return harness.reader(); }
    QStringList calls() { return harness.reader().trace(); }

    PageHarness harness;
    std::unique_ptr<Page> m_page;
};
