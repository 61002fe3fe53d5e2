// Prints how long Vornex takes from process start to its maximised main window with the
// start-up connection done, beside two floors started the same way: the same first screen made
// straight with Qt (FirstScreenFloor.cpp) and a minimal window with a menu and a label, and the
// peak memory (VmHWM) of each; then, in this process, the page switch of every card page, the
// hex grid's keystroke, one simulated-reader call and three whole operations with the simulated
// reader keeping real time, each beside its floor. Medians; a closing summary of the targets.
//
//   bench [--runs N] [--long-runs M] [--only startup|pages|grid|read|operations|pcsc]
//
// --long-runs: the runs of the two long operations at 14400 baud (N / 5 by default).
// The programs run off-screen with private settings and runtime folders; Vornex and the floor
// connect to the simulated reader on COM1, and Vornex opens the Mifare_Std S50 page.

#include "InProcessBench.h"

#include "app/ProgramRuns.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sys/resource.h>

namespace {

struct Sample {
    double milliseconds = 0;
    double cpuMilliseconds = 0; // user and system time of the whole run, exit included
    long long peakKb = 0;
};

// CPU time of the children that have ended so far: on a busy machine the wall time of a start
// measures the other processes as much as this one.
double childrenCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The bare window draws no text, so it never loads a font; the texted one has a menu and a
// label, as any real window does.
int runMinimalWindow(int argc, char **argv, bool withText)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("minimal"));
    if (withText) {
        window.menuBar()->addMenu(QStringLiteral("File(&F)"))->addAction(QStringLiteral("Exit(&X)"));
        window.setCentralWidget(new QLabel(QStringLiteral("Minimal window")));
    }
    window.showMaximized();
    QTimer::singleShot(0, [] {
        ReportStartupReady();
        QApplication::quit();
    });
    return QApplication::exec();
}

bool prepareFolders(const QTemporaryDir &root)
{
    QDir dir(root.path());
    if (!dir.mkpath(QStringLiteral("config/Corvale")) || !dir.mkpath(QStringLiteral("runtime")))
        return false;
    QFile::setPermissions(dir.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile settings(dir.filePath(QStringLiteral("config/Corvale/IORFCard.reg")));
    if (!settings.open(QIODevice::WriteOnly))
        return false;
    settings.write("Windows Registry Editor Version 5.00\n\n"
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvale\\IORFCard]\n"
                   "\"CurCard\"=dword:00000001\n\"ComPort\"=dword:00000001\n"
                   "\"BaudRate\"=dword:00000001\n\"CurBitmap\"=dword:00000000\n");
    return true;
}

bool runOnce(const QString &program, const QStringList &arguments, Sample &sample)
{
    QTemporaryDir root;
    if (!root.isValid() || !prepareFolders(root))
        return false;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.filePath(QStringLiteral("runtime")));
    environment.insert(QStringLiteral("ZENTRAVA_SCENARIO"), root.filePath(QStringLiteral("config/scenario.json")));

    QProcess process;
    const double cpuBefore = childrenCpuMs();
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return false;
    QByteArray output;
    while (!output.contains('\n')) {
        if (!process.waitForReadyRead(30000))
            return false;
        output += process.readAllStandardOutput();
    }
    sample.milliseconds = double(timer.nsecsElapsed()) / 1e6;
    process.waitForFinished(30000);
    sample.cpuMilliseconds = childrenCpuMs() - cpuBefore;
    const qsizetype at = output.indexOf("vmhwm_kb=");
    if (!output.startsWith("ready") || at < 0)
        return false;
    sample.peakKb = output.mid(at + 9).trimmed().toLongLong();
    return true;
}

// Vornex's start-up and peak memory beside the two minimal windows. False when a program did
// not report its start-up.
bool runStartupBench(int runs, const QString &vornex, const QString &self)
{
    struct Contender {
        const char *label;
        QString program;
        QStringList arguments;
        std::vector<double> times;
        std::vector<double> cpuTimes;
        std::vector<long long> peaks;
    };
    std::vector<Contender> contenders = {
        {"vornex (connected, S50 page)", vornex, {QStringLiteral("--startup-probe")}, {}, {}, {}},
        {"same first screen, plain Qt", self, {QStringLiteral("--first-screen-floor")}, {}, {}, {}},
        {"bare Qt Widgets window", self, {QStringLiteral("--minimal-window")}, {}, {}, {}},
        {"Qt window, menu and label", self, {QStringLiteral("--minimal-text-window")}, {}, {}, {}},
    };
    // One warm-up of each, not counted: the first start pays for a cold file cache. The runs
    // then alternate, so that a busy moment of the machine falls on all of them alike.
    Sample sample;
    for (Contender &contender : contenders)
        runOnce(contender.program, contender.arguments, sample);
    for (int i = 0; i < runs; ++i) {
        for (Contender &contender : contenders) {
            if (!runOnce(contender.program, contender.arguments, sample)) {
                std::fprintf(stderr, "bench: %s did not report its start-up\n", contender.label);
                return false;
            }
            contender.times.push_back(sample.milliseconds);
            contender.cpuTimes.push_back(sample.cpuMilliseconds);
            contender.peaks.push_back(sample.peakKb);
        }
    }

    std::printf("start-up to the maximised window, median of %d runs (offscreen)\n", runs);
    std::printf("(each ratio is Vornex's figure divided by the row's)\n");
    std::printf("%-30s %10s %12s %13s %10s %10s\n", "", "time (ms)", "VmHWM (kB)", "memory ratio", "time ratio",
                "CPU (ms)");
    const double vornexTime = Median(contenders[0].times);
    const double vornexCpu = Median(contenders[0].cpuTimes);
    const double vornexPeak = double(Median(contenders[0].peaks));
    for (const Contender &contender : contenders) {
        const double time = Median(contender.times);
        const double cpu = Median(contender.cpuTimes);
        const long long peak = Median(contender.peaks);
        std::printf("%-30s %10.1f %12lld %13.2f %10.2f %10.1f  (ratio %.2f)\n", contender.label, time, peak,
                    vornexPeak / double(std::max(1LL, peak)), vornexTime / time, cpu, vornexCpu / std::max(cpu, 1e-9));
    }
    std::printf("target: vornex at most 1.1 times the same first screen made with plain Qt, time and memory\n");
    const Contender &sameScreen = contenders[1];
    const Contender &menuAndLabel = contenders[3];
    AddTarget(QStringLiteral("start-up, wall time (ms)"), vornexTime, Median(sameScreen.times), 1.1,
              "same first screen, plain Qt");
    AddTarget(QStringLiteral("start-up, CPU time (ms)"), vornexCpu, Median(sameScreen.cpuTimes), 1.1,
              "same first screen, plain Qt");
    AddTarget(QStringLiteral("start-up, wall time (ms)"), vornexTime, Median(menuAndLabel.times), 0,
              "window with a menu and a label");
    AddTarget(QStringLiteral("peak memory at start-up (kB)"), vornexPeak, double(Median(sameScreen.peaks)), 1.1,
              "same first screen, plain Qt");
    AddTarget(QStringLiteral("peak memory at start-up (kB)"), vornexPeak, double(Median(menuAndLabel.peaks)), 0,
              "window with a menu and a label");
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && QByteArray(argv[1]) == "--minimal-window")
        return runMinimalWindow(argc, argv, false);
    if (argc > 1 && QByteArray(argv[1]) == "--minimal-text-window")
        return runMinimalWindow(argc, argv, true);
    if (argc > 1 && QByteArray(argv[1]) == "--first-screen-floor")
        return RunFirstScreenFloor(argc, argv);

    // The in-process benchmarks paint offscreen; the programs started below are told the same.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    int runs = 15;
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype runsAt = arguments.indexOf(QStringLiteral("--runs"));
    if (runsAt >= 0 && runsAt + 1 < arguments.size())
        runs = std::clamp(arguments[runsAt + 1].toInt(), 1, 100);
    // A long operation at 14400 baud lasts six seconds: 15 runs of two of them would take the
    // bench past three minutes.
    int longRunsAtLowRate = std::max(1, runs / 5);
    const qsizetype longRunsAt = arguments.indexOf(QStringLiteral("--long-runs"));
    if (longRunsAt >= 0 && longRunsAt + 1 < arguments.size())
        longRunsAtLowRate = std::clamp(arguments[longRunsAt + 1].toInt(), 1, 100);

    const QString folder = QCoreApplication::applicationDirPath();
    const QString vornex = QDir(folder).filePath(QStringLiteral("vornex"));
    const QString self = QCoreApplication::applicationFilePath();
    if (!QFile::exists(vornex)) {
        std::fprintf(stderr, "bench: %s not found\n", qPrintable(vornex));
        return 1;
    }

    // --only NAME runs one part: startup, pages, grid, read, operations or pcsc.
    const qsizetype onlyAt = arguments.indexOf(QStringLiteral("--only"));
    const QString only = onlyAt >= 0 && onlyAt + 1 < arguments.size() ? arguments[onlyAt + 1] : QString();
    const auto wanted = [&only](const char *part) { return only.isEmpty() || only == QLatin1String(part); };

    if (wanted("startup") && !runStartupBench(runs, vornex, self))
        return 1;
    if (wanted("pages"))
        RunPageSwitchBench(runs);
    if (wanted("grid"))
        RunGridKeystrokeBench(std::max(runs, 200));
    // The simulated reader of the in-process benchmarks lays its built-in cards, whatever the
    // operator's scenario file holds, and writes nothing back.
    QTemporaryDir scenarioFolder;
    const QString scenarioFile = QDir(scenarioFolder.path()).filePath(QStringLiteral("none.json"));
    qputenv("ZENTRAVA_SCENARIO", scenarioFile.toLocal8Bit());
    if (wanted("read"))
        RunSimulatedReadBench(std::max(runs, 1000));
    if (wanted("operations"))
        RunWholeOperationBench(runs, longRunsAtLowRate);
    if (wanted("pcsc"))
        RunPcscApduBench(std::max(runs, 15), scenarioFile);
    PrintSummary();
    return 0;
}
