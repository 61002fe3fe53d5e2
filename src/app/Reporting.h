#pragma once

#include <QString>

#include <cstdint>

class CInfoBar;
class CProcessView;

// Every operation ends in one report: a one-line text in the Memo field of the information bar.
// The log pane lists each reader-library call of the current operation with its status.

// Where the reports go; the main frame sets its bar and log pane, tests may set their own.
// Either may be null: reports to a missing target are dropped.
void SetReportTargets(CInfoBar *infoBar, CProcessView *log);
CInfoBar *ReportInfoBar();
CProcessView *ReportLogView();

// Status 0: "Communication successful" (and " ,function: name" when a name is given).
// Otherwise "Error: %x" with the name, and the question sound.
void ReportCallResult(int32_t status, const QString &name = QString());
// "Error: " followed by the text, and the question sound.
void ReportFailure(const QString &text);
// The text as it is, no sound.
void ReportSuccess(const QString &text);
// A call that returned 0 but an answer of the wrong length has failed all the same: reported
// as "Error: 0 ,function: name" with the sound, never as a success.
void ReportWrongLength(const QString &name);

// The two steps every page operation repeats:
// the port check, false after reporting "Error: Port did't opened" when the port is closed;
bool RequirePortOpen();
// one reader call logged and, when it failed, reported; true when it succeeded.
bool LogCall(int32_t status, const QString &name);

// Clears the log pane for a new operation.
void BeginProcessLog();
// Adds one line: the function name (or other label) and its status.
void AppendProcessLog(const QString &text, int32_t status);
