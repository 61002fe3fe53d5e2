#include "reporting/Reporting.h"

#include "reporting/MessageCatalogue.h"
#include "reporting/ReportSink.h"
#include "reporting/UserPrompts.h"

namespace {

ReportSink *installedSink = nullptr;

void showMemo(const QString &text)
{
    if (installedSink != nullptr)
        installedSink->showMemo(text);
}

QString failureText(int32_t status, const QString &name)
{
    QString text = QStringLiteral("Error: %1").arg(quint32(status), 0, 16);
    if (!name.isEmpty())
        text += Message(Msg::FunctionLabel) + name;
    return text;
}

} // namespace

void SetReportSink(ReportSink *sink)
{
    installedSink = sink;
}

ReportSink *CurrentReportSink()
{
    return installedSink;
}

void ReportCallResult(int32_t status, const QString &name)
{
    if (status == 0) {
        QString text = Message(Msg::OperationSucceeded);
        if (!name.isEmpty())
            text += Message(Msg::FunctionLabel) + name;
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

void ReportConnection(int port, int bitsPerSecond)
{
    if (installedSink != nullptr)
        installedSink->showConnection(port, bitsPerSecond);
}

void BeginProcessLog()
{
    if (installedSink != nullptr)
        installedSink->clearLog();
}

void AppendProcessLog(const QString &text, int32_t status)
{
    if (installedSink != nullptr)
        installedSink->appendLog(text, status);
}
