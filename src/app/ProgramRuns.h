#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

class CHalvidApp;

// The ways the program can be started: normally, to save a picture of one page, to report when
// start-up is done (for the start-up benchmark), or to list the options.
struct ProgramOptions {
    enum class Mode { Normal, Screenshot, StartupProbe, Help, Invalid };
    Mode mode = Mode::Normal;
    QString page;       // screenshot: a CardType 0 to 27, or "port"
    QString outputFile; // screenshot: the PNG to write
    QSize screen;       // screenshot: the virtual screen's size
    // Values for this run that replace the saved ones (and are saved on exit like a choice made
    // in the program); unset when not given.
    std::optional<int> comPort;
    std::optional<int> baudRateIndex; // index into BaudRateTable
    std::optional<int> cardType;      // 0 to 27, or PortPageCardType
    bool allCards = false;            // every card page in "Choose Card"
    QString traceFile;                // the reader-call trace, empty for none
    QString readerLibrary;            // "simulated", "pcsc" or a file; empty for the one beside the program
    QString error;
};

// The options, one per line, as --help prints them.
QString ProgramUsage();

// vornex [--port N] [--baud RATE] [--card NAME|N] [--all-cards]
//        [--reader simulated|pcsc|FILE] [--trace FILE] [--help]
//        [--screenshot <CardType|port> <file.png> [--screen <W>x<H>]] [--startup-probe]
// Qt's own single-dash options (-platform offscreen, ...) pass through. `environmentTrace` and
// `environmentReader` are the values of VORNEX_TRACE and VORNEX_READER, used when --trace and
// --reader are not given.
ProgramOptions ParseProgramOptions(const QStringList &arguments, const QString &environmentTrace = QString(),
                                   const QString &environmentReader = QString());

// The card type a --card value names: a number 0 to 27, "port", or a card name compared without
// case, blanks and punctuation ("mifare_std s70", "MifareStdS70"); -1 for none.
int ParseCardArgument(const QString &value);

// A name's letters and digits in lower case ("Mifare_ Std S70" gives "mifarestds70"): how --card
// compares card names, and how the manual names the section and the picture of a card page.
QString FoldedName(const QString &name);

// Before the application object exists: a screenshot runs on an off-screen display of the
// requested size, so it needs no desktop.
void PrepareDisplay(const ProgramOptions &options);

// Starts the program without reading or writing the settings and without the single-instance
// lock, opens the page (connecting to the reader on COM1 first, as a fresh start does), saves
// the whole main window as a PNG and ends. Returns the exit code: 3 when the card type has no
// page (the picture then shows the empty view).
int RunScreenshot(CHalvidApp &app, const ProgramOptions &options);

// Starts the program normally and, once the maximised window has been painted with the start-up
// connection done, prints "ready vmhwm_kb=<peak memory>" and ends. Returns the exit code.
int RunStartupProbe(CHalvidApp &app);

// Prints the ready line with this process's peak resident memory (VmHWM, kB; 0 when unknown).
void ReportStartupReady();
