#pragma once

#include "reporting/ReportSink.h"

#include <QPointer>

class CInfoBar;
class CProcessView;

// The frame's side of the reports: the Memo field and the connection go to the information
// bar, the log lines to the log pane. Either may be gone; what is meant for it is dropped.
class FrameReportSink : public ReportSink
{
public:
    FrameReportSink(CInfoBar *infoBar, CProcessView *log);
    // Installs itself as the report sink, and uninstalls itself when it dies.
    void install();
    ~FrameReportSink() override;

    void showMemo(const QString &text) override;
    void clearLog() override;
    void appendLog(const QString &text, int32_t status) override;
    void showConnection(int port, int bitsPerSecond) override;

private:
    QPointer<CInfoBar> m_infoBar;
    QPointer<CProcessView> m_log;
};
