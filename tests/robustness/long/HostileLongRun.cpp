#include "HostileDriver.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <numeric>

// The long run of the hostile reader driver: hostile_long --seeds N [--first S] presses every
// button of every page for seeds S to S + N - 1 and prints the figures. A crash or a sanitizer
// report ends the process; a press with the wrong reports is listed and fails the run.
int main(int argc, char **argv)
{
    int seedCount = 100;
    uint32_t first = 1;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--seeds") == 0)
            seedCount = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--first") == 0)
            first = uint32_t(std::strtoul(argv[i + 1], nullptr, 10));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings and runtime files go to a private folder, as in the test suite.
    QTemporaryDir home;
    for (const char *folder : {"config", "runtime", "data"})
        QDir(home.path()).mkpath(QString::fromLatin1(folder));
    QFile::setPermissions(home.path() + QStringLiteral("/runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/config")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path() + QStringLiteral("/runtime")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + QStringLiteral("/data")));
    QApplication application(argc, argv);
    // The recording reader reports misuse through the test framework.
    ::testing::InitGoogleTest(&argc, argv);

    std::vector<uint32_t> seeds(std::size_t(std::max(seedCount, 0)));
    std::iota(seeds.begin(), seeds.end(), first);
    const HostileRunFigures figures = RunHostileDriver(seeds);
    for (const QString &failure : figures.failures)
        std::printf("FAILED %s\n", qPrintable(failure));
    std::printf("hostile reader: %d seeds (%u to %u), %d pages, %ld operations, %.1f s, 0 crashes, %lld failed checks\n",
                figures.seeds, first, first + uint32_t(seeds.size()) - 1, figures.pages, figures.operations,
                double(figures.time.count()) / 1000.0, static_cast<long long>(figures.failures.size()));
    return figures.failures.isEmpty() ? 0 : 1;
}
