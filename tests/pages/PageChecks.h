#pragma once

#include "PageTest.h"
#include "QtPrinters.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Short forms the page tests share: an answer of the recording reader, a run of calls, the
// message boxes shown, as texts, and an operator's session as rows of steps.
namespace pagechecks {

inline FakeReader::Answer answer(const QByteArray &data, int32_t status = 0) { return {status, data, -1, 0}; }
inline FakeReader::Answer hexAnswer(const char *hex, int32_t status = 0) { return answer(QByteArray::fromHex(hex), status); }

// The pattern with %1 for each of first, first + step, ... below end, e.g. the reads of a loop.
inline QStringList callRun(const QString &pattern, int first, int end, int step = 1)
{
    QStringList calls;
    for (int n = first; n < end; n += step)
        calls << pattern.arg(n);
    return calls;
}

// Answers queued for the reader, each for the next call of its function.
using Answers = std::vector<std::pair<QString, FakeReader::Answer>>;

// Answers for the calls first, first + 1, ... below end of `name`, call n answering data(n).
inline Answers answerRun(const QString &name, int first, int end, const std::function<QByteArray(int)> &data)
{
    Answers answers;
    for (int n = first; n < end; ++n)
        answers.push_back({name, answer(data(n))});
    return answers;
}

// The texts of the message boxes shown so far.
inline QStringList boxTexts(const PageHarness &harness)
{
    QStringList texts;
    for (const MessageBoxRequest &box : harness.messageBoxes())
        texts << box.text;
    return texts;
}

// A message box as one text, to compare a shown box with the expected one in one check.
inline QString boxOf(const MessageBoxRequest &box)
{
    return QStringLiteral("%1 | %2 | icon %3 | buttons %4").arg(box.text, box.caption).arg(int(box.icon)).arg(int(box.buttons));
}

// A box the operator cannot change keeps its state under a click, a double click and Space,
// each on its own: a click and a double click would toggle it twice. The click lands on the box
// itself, as one beside a short caption would miss the button anyway.
inline void expectUnchangeable(QAbstractButton *box)
{
    const std::function<void()> actions[] = {
        [box] { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); },
        [box] { QTest::mouseDClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); },
        [box] { box->setFocus(); QTest::keyClick(box, Qt::Key_Space); },
    };
    box->show();
    for (int action = 0; action < 3; ++action) {
        const bool before = box->isChecked();
        actions[action]();
        EXPECT_EQ(box->isChecked(), before) << box->objectName().toStdString() << ", action " << action;
    }
}

// Bytes as the upper-case hex digits a field shows.
inline QString hexText(const QByteArray &bytes) { return QString::fromLatin1(bytes.toHex().toUpper()); }

// One step of an operator's session: the fields typed and the list items chosen, in order, the
// answers queued for the reader, the button pressed; then the calls the reader heard in this step,
// the texts the controls show, the info text (emptied before the press) and the log pane. A check
// left out is not made.
struct Step {
    int button;
    std::vector<std::pair<int, QString>> typed = {};
    Answers answers = {};
    std::optional<QStringList> calls = {};
    std::vector<std::pair<int, QString>> shown = {};
    std::optional<QString> memo = {};
    std::optional<QStringList> log = {};
};

// Works the steps on the page one after another; a failure names its step.
inline void runSession(PageHarness &harness, QWidget *page, const std::vector<Step> &steps)
{
    for (std::size_t n = 0; n < steps.size(); ++n) {
        const Step &step = steps[n];
        SCOPED_TRACE("step " + std::to_string(n));
        for (const auto &[id, value] : step.typed) {
            if (page->findChild<QComboBox *>(QStringLiteral("id%1").arg(id)) != nullptr)
                PageHarness::choose(page, id, value);
            else
                PageHarness::setText(page, id, value);
        }
        for (const auto &[name, answer] : step.answers)
            harness.reader().script(name, answer);
        harness.reader().clearCalls();
        harness.infoBar().showMemo(QString());
        PageHarness::click(page, step.button);
        if (step.calls) {
            EXPECT_EQ(harness.reader().trace(), *step.calls);
        }
        for (const auto &[id, value] : step.shown)
            EXPECT_EQ(PageHarness::text(page, id), value) << "control " << id;
        if (step.memo) {
            EXPECT_EQ(harness.memo(), *step.memo);
        }
        if (step.log) {
            EXPECT_EQ(harness.logLines(), *step.log);
        }
    }
}

} // namespace pagechecks
