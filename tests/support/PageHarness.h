#pragma once

#include "FakeReader.h"

#include "app/CInfoBar.h"
#include "app/CProcessView.h"
#include "app/FrameReportSink.h"
#include "reporting/UserPrompts.h"
#include "reader/ReaderWait.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <memory>
#include <vector>

class CHexGrid;
class QWidget;

// What an operator sees around a page: the information bar's Memo field, the log pane, the
// message boxes and the question sound. Installs a recording fake reader, answers message boxes
// from a script (OK when nothing is scripted) and records the selection waits instead of
// sleeping. The port starts open.
class PageHarness
{
public:
    PageHarness();
    ~PageHarness();

    FakeReader &reader() { return m_reader; }
    CInfoBar &infoBar() { return *m_infoBar; }
    CProcessView &log() { return *m_log; }

    QString memo() const;
    // Every Memo text shown so far, in order; the last is memo().
    const QStringList &memos() const { return m_memos; }
    // The log pane as "name status" lines, e.g. "rf_request 0", "rf_select 1a".
    QStringList logLines() const;
    int sounds() const { return m_sounds; }

    // Message boxes shown so far, and the answer the next ones get.
    const std::vector<MessageBoxRequest> &messageBoxes() const { return m_boxes; }
    void answerNextBox(MessageAnswer answer) { m_answers.push_back(answer); }

    // The waits between reader calls, in order.
    const std::vector<int> &waits() const { return m_waits; }

    // Operator actions on a page's controls, found by id.
    static void click(QWidget *page, int id);
    static void setText(QWidget *page, int id, const QString &text);
    static QString text(QWidget *page, int id);
    static void choose(QWidget *page, int id, const QString &itemText);
    // Overtypes hex digits in a grid from the first digit of a byte of its shown page.
    static void typeAt(CHexGrid *grid, int byteOnPage, const QString &digits);

private:
    FakeReader m_reader;
    std::unique_ptr<CInfoBar> m_infoBar;
    std::unique_ptr<CProcessView> m_log;
    QStringList m_memos;
    std::unique_ptr<FrameReportSink> m_sink;
    std::vector<MessageBoxRequest> m_boxes;
    std::deque<MessageAnswer> m_answers;
    std::vector<int> m_waits;
    int m_sounds = 0;
    MessageBoxHandler m_previousBoxes;
    SoundHandler m_previousSound;
    ReaderWaitHandler m_previousWait;
};
