#pragma once

#include <QString>

#include <cstdint>

// Every operation ends in one report: a one-line text in the Memo field of the information bar.
// The log pane lists each reader-library call of the current operation with its status.
// Both go to the installed ReportSink.

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
// The port and rate of a connection just made.
void ReportConnection(int port, int bitsPerSecond);

// Clears the log pane for a new operation.
void BeginProcessLog();
// Adds one line: the function name (or other label) and its status.
void AppendProcessLog(const QString &text, int32_t status);
