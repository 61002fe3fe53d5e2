#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

class CHalvidApp;

// The ways the program can be started: normally, to save a picture of one page, or to report
// when start-up is done (for the start-up benchmark).
struct ProgramOptions {
    enum class Mode { Normal, Screenshot, StartupProbe, Invalid };
    Mode mode = Mode::Normal;
    QString page;       // screenshot: a CardType 0 to 27, or "port"
    QString outputFile; // screenshot: the PNG to write
    QSize screen;       // screenshot: the virtual screen's size
    QString error;
};

// vornex [--screenshot <CardType|port> <file.png> [--screen <W>x<H>]] [--startup-probe]
ProgramOptions ParseProgramOptions(const QStringList &arguments);

// Before the application object exists: a screenshot runs on an off-screen display of the
// requested size, so it needs no desktop.
void PrepareDisplay(const ProgramOptions &options);

// Starts the program without reading or writing the settings and without the single-instance
// lock, opens the page (connecting to the reader on COM1 first, as a fresh start does), saves
// the whole main window as a PNG and ends. Returns the exit code.
int RunScreenshot(CHalvidApp &app, const ProgramOptions &options);

// Starts the program normally and, once the maximised window has been painted with the start-up
// connection done, prints "ready vmhwm_kb=<peak memory>" and ends. Returns the exit code.
int RunStartupProbe(CHalvidApp &app);

// Prints the ready line with this process's peak resident memory (VmHWM, kB; 0 when unknown).
void ReportStartupReady();
