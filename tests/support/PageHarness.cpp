#include "PageHarness.h"

#include "controls/CHexGrid.h"
#include "reporting/Reporting.h"
#include "reader/RuntimeState.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

QWidget *find(QWidget *page, int id)
{
    QWidget *widget = page->findChild<QWidget *>(QStringLiteral("id%1").arg(id));
    EXPECT_NE(widget, nullptr) << "no control id" << id;
    return widget;
}

// The frame's sink, keeping each Memo text besides.
class MemoRecordingSink : public FrameReportSink
{
public:
    MemoRecordingSink(CInfoBar *infoBar, CProcessView *log, QStringList &memos)
        : FrameReportSink(infoBar, log), m_memos(memos) {}
    void showMemo(const QString &text) override
    {
        m_memos << text;
        FrameReportSink::showMemo(text);
    }

private:
    QStringList &m_memos;
};

} // namespace

PageHarness::PageHarness()
    : m_infoBar(std::make_unique<CInfoBar>())
    , m_log(std::make_unique<CProcessView>())
{
    ResetRuntimeState();
    PortOpen = true;
    m_log->resize(600, 200);
    m_sink = std::make_unique<MemoRecordingSink>(m_infoBar.get(), m_log.get(), m_memos);
    m_sink->install();
    m_previousBoxes = SetMessageBoxHandler([this](const MessageBoxRequest &request) {
        m_boxes.push_back(request);
        if (m_answers.empty())
            return MessageAnswer::Ok;
        const MessageAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    });
    m_previousSound = SetQuestionSoundHandler([this] { ++m_sounds; });
    m_previousWait = SetReaderWaitHandler([this](int milliseconds) { m_waits.push_back(milliseconds); });
}

PageHarness::~PageHarness()
{
    m_sink.reset();
    SetMessageBoxHandler(m_previousBoxes);
    SetQuestionSoundHandler(m_previousSound);
    SetReaderWaitHandler(m_previousWait);
    ResetRuntimeState();
}

QString PageHarness::memo() const
{
    return m_infoBar->memoText();
}

QStringList PageHarness::logLines() const
{
    QStringList lines;
    for (const CProcessView::LogEntry &entry : m_log->entries())
        lines << QStringLiteral("%1 %2").arg(entry.text).arg(quint32(entry.status), 0, 16);
    return lines;
}

void PageHarness::click(QWidget *page, int id)
{
    auto *button = qobject_cast<QAbstractButton *>(find(page, id));
    ASSERT_NE(button, nullptr) << "control" << id << "is not a button";
    ASSERT_TRUE(button->isEnabled()) << "button" << id << "is disabled";
    button->click();
}

void PageHarness::setText(QWidget *page, int id, const QString &text)
{
    auto *edit = qobject_cast<QLineEdit *>(find(page, id));
    ASSERT_NE(edit, nullptr) << "control" << id << "is not an edit field";
    edit->selectAll();
    edit->clear();
    // Typed text goes through the field's own filtering, exactly as the operator's keys do.
    QTest::keyClicks(edit, text);
}

QString PageHarness::text(QWidget *page, int id)
{
    QWidget *widget = find(page, id);
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return edit->text();
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        return combo->currentText();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text();
    return widget != nullptr ? widget->property("text").toString() : QString();
}

void PageHarness::choose(QWidget *page, int id, const QString &itemText)
{
    auto *combo = qobject_cast<QComboBox *>(find(page, id));
    ASSERT_NE(combo, nullptr) << "control" << id << "is not a list";
    const int index = combo->findText(itemText);
    ASSERT_GE(index, 0) << "list" << id << "has no item" << itemText.toStdString();
    combo->setCurrentIndex(index);
}

void PageHarness::typeAt(CHexGrid *grid, int byteOnPage, const QString &digits)
{
    grid->setCaretPosition(3 * byteOnPage);
    QTest::keyClicks(grid, digits);
}
