#include "app/CHalvidApp.h"
#include "app/ProgramRuns.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const ProgramOptions options = ParseProgramOptions(arguments);
    if (options.mode == ProgramOptions::Mode::Invalid) {
        std::fprintf(stderr, "vornex: %s\n", qPrintable(options.error));
        return 2;
    }
    PrepareDisplay(options);

    QApplication application(argc, argv);
    CHalvidApp app;
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
