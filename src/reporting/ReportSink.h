#pragma once

#include <QString>

#include <cstdint>

// Where the reports of every operation end up. The main frame installs its information bar
// and log pane behind this interface, so that no page reaches a frame widget; tests install
// their own. With no sink installed, reports are dropped.
class ReportSink
{
public:
    virtual ~ReportSink() = default;

    // The one-line result in the Memo field of the information bar.
    virtual void showMemo(const QString &text) = 0;
    // The log pane: cleared at the start of an operation, one line per reader call.
    virtual void clearLog() = 0;
    virtual void appendLog(const QString &text, int32_t status) = 0;
    // The port and rate of a connection just made, shown in the information bar.
    virtual void showConnection(int port, int bitsPerSecond) = 0;
};

// Installs the sink (null: none). The caller keeps ownership and uninstalls it before it dies.
void SetReportSink(ReportSink *sink);
ReportSink *CurrentReportSink();
