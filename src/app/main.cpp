#include "app/CHalvidApp.h"
#include "app/ProgramRuns.h"
#include "app/ReaderCallTrace.h"
#include "reader/ReaderLibrary.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const ProgramOptions options = ParseProgramOptions(arguments, qEnvironmentVariable("VORNEX_TRACE"),
                                                       qEnvironmentVariable("VORNEX_READER"));
    if (options.mode == ProgramOptions::Mode::Invalid) {
        std::fprintf(stderr, "vornex: %s\n", qPrintable(options.error));
        return 2;
    }
    if (options.mode == ProgramOptions::Mode::Help) {
        std::fputs(qPrintable(ProgramUsage()), stdout);
        return 0;
    }
    // A trace asked for and not written would be lost without anybody knowing: refuse to start.
    ReaderCallTrace trace;
    if (!options.traceFile.isEmpty() && !trace.start(options.traceFile)) {
        std::fprintf(stderr, "vornex: cannot open the trace file %s: %s\n", qPrintable(options.traceFile),
                     qPrintable(trace.errorString()));
        return 2;
    }
    PrepareDisplay(options);

    QApplication application(argc, argv);
    CHalvidApp app;
    app.setStartupOverrides({options.comPort, options.baudRateIndex, options.cardType, options.allCards});
    app.setReaderLibrary(ReaderLibrary::pathFor(options.readerLibrary));
    switch (options.mode) {
    case ProgramOptions::Mode::Screenshot: return RunScreenshot(app, options);
    case ProgramOptions::Mode::StartupProbe: return RunStartupProbe(app);
    default: break;
    }
    int code = 0;
    if (app.initInstance())
        code = QApplication::exec();
    const int exitCode = app.exitInstance();
    return code != 0 ? code : exitCode;
}
