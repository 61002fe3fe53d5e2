#include "app/FrameReportSink.h"

#include "app/CInfoBar.h"
#include "app/CProcessView.h"

FrameReportSink::FrameReportSink(CInfoBar *infoBar, CProcessView *log)
    : m_infoBar(infoBar)
    , m_log(log)
{
}

void FrameReportSink::install()
{
    SetReportSink(this);
}

FrameReportSink::~FrameReportSink()
{
    if (CurrentReportSink() == this)
        SetReportSink(nullptr);
}

void FrameReportSink::showMemo(const QString &text)
{
    if (m_infoBar)
        m_infoBar->showMemo(text);
}

void FrameReportSink::clearLog()
{
    if (m_log)
        m_log->clearEntries();
}

void FrameReportSink::appendLog(const QString &text, int32_t status)
{
    if (m_log)
        m_log->appendEntry(text, status);
}

void FrameReportSink::showConnection(int port, int bitsPerSecond)
{
    if (m_infoBar) {
        m_infoBar->showPort(port);
        m_infoBar->showBaud(bitsPerSecond);
    }
}
