#include "app/Reporting.h"

#include "app/CInfoBar.h"
#include "app/CProcessView.h"
#include "app/MessageCatalogue.h"
#include "app/UserPrompts.h"
#include "reader/RuntimeState.h"

#include <QPointer>

namespace {

QPointer<CInfoBar> targetInfoBar;
QPointer<CProcessView> targetLog;

void showMemo(const QString &text)
{
    if (targetInfoBar)
        targetInfoBar->showMemo(text);
}

QString failureText(int32_t status, const QString &name)
{
    QString text = QStringLiteral("Error: %1").arg(quint32(status), 0, 16);
    if (!name.isEmpty())
        text += Message(4) + name;
    return text;
}

} // namespace

void SetReportTargets(CInfoBar *infoBar, CProcessView *log)
{
    targetInfoBar = infoBar;
    targetLog = log;
}

CInfoBar *ReportInfoBar()
{
    return targetInfoBar;
}

CProcessView *ReportLogView()
{
    return targetLog;
}

void ReportCallResult(int32_t status, const QString &name)
{
    if (status == 0) {
        QString text = Message(3);
        if (!name.isEmpty())
            text += Message(4) + name;
        showMemo(text);
        return;
    }
    showMemo(failureText(status, name));
    PlayQuestionSound();
}

void ReportFailure(const QString &text)
{
    showMemo(QStringLiteral("Error: ") + text);
    PlayQuestionSound();
}

void ReportSuccess(const QString &text)
{
    showMemo(text);
}

void ReportWrongLength(const QString &name)
{
    showMemo(failureText(0, name));
    PlayQuestionSound();
}

bool RequirePortOpen()
{
    if (!PortOpen)
        ReportFailure(Message(5));
    return PortOpen;
}

bool LogCall(int32_t status, const QString &name)
{
    AppendProcessLog(name, status);
    if (status != 0)
        ReportCallResult(status, name);
    return status == 0;
}

void BeginProcessLog()
{
    if (targetLog)
        targetLog->clearEntries();
}

void AppendProcessLog(const QString &text, int32_t status)
{
    if (targetLog)
        targetLog->appendEntry(text, status);
}
