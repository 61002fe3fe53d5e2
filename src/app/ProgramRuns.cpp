#include "app/ProgramRuns.h"

#include "app/CHalvidApp.h"
#include "app/CMainFrame.h"
#include "app/ScreenMetrics.h"
#include "reporting/UserPrompts.h"
#include "reader/RuntimeState.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

namespace {

constexpr QSize DefaultScreenshotScreen(1280, 1024);

QSize parseSize(const QString &text)
{
    const QStringList parts = text.split(u'x');
    if (parts.size() != 2)
        return {};
    bool widthOk = false;
    bool heightOk = false;
    const int width = parts[0].toInt(&widthOk);
    const int height = parts[1].toInt(&heightOk);
    if (!widthOk || !heightOk || width < 320 || height < 240 || width > 8192 || height > 8192)
        return {};
    return QSize(width, height);
}

qint64 peakMemoryKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

} // namespace

ProgramOptions ParseProgramOptions(const QStringList &arguments)
{
    ProgramOptions options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--screenshot")) {
            if (i + 2 >= arguments.size()) {
                options.mode = ProgramOptions::Mode::Invalid;
                options.error = QStringLiteral("--screenshot needs a card type (0 to 27, or port) and a file");
                return options;
            }
            options.mode = ProgramOptions::Mode::Screenshot;
            options.page = arguments[++i];
            options.outputFile = arguments[++i];
        } else if (argument == QLatin1String("--screen") && i + 1 < arguments.size()) {
            options.screen = parseSize(arguments[++i]);
            if (options.screen.isEmpty()) {
                options.mode = ProgramOptions::Mode::Invalid;
                options.error = QStringLiteral("--screen needs <width>x<height>, e.g. 1024x768");
                return options;
            }
        } else if (argument == QLatin1String("--startup-probe")) {
            options.mode = ProgramOptions::Mode::StartupProbe;
        }
        // Anything else is left to Qt (-platform and the like).
    }
    if (options.mode == ProgramOptions::Mode::Screenshot) {
        bool ok = false;
        const int cardType = options.page.toInt(&ok);
        if (options.page != QLatin1String("port") && (!ok || cardType < 0 || cardType >= CardTypeCount)) {
            options.mode = ProgramOptions::Mode::Invalid;
            options.error = QStringLiteral("the card type must be 0 to 27 or port");
        }
        if (options.screen.isEmpty())
            options.screen = DefaultScreenshotScreen;
    }
    return options;
}

void PrepareDisplay(const ProgramOptions &options)
{
    if (options.mode != ProgramOptions::Mode::Screenshot)
        return;
    // The off-screen display takes its screen from a small configuration file.
    const QString config = QDir::temp().filePath(
        QStringLiteral("vornex-screen-%1x%2.json").arg(options.screen.width()).arg(options.screen.height()));
    QFile file(config);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(QStringLiteral("{\"screens\":[{\"name\":\"screen\",\"x\":0,\"y\":0,\"width\":%1,"
                                  "\"height\":%2,\"logicalDpi\":96,\"logicalBaseDpi\":96,\"dpr\":1}]}")
                       .arg(options.screen.width())
                       .arg(options.screen.height())
                       .toUtf8());
        file.close();
        qputenv("QT_QPA_PLATFORM", QFile::encodeName(QStringLiteral("offscreen:configfile=") + config));
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

int RunScreenshot(CHalvidApp &app, const ProgramOptions &options)
{
    const bool portPage = options.page == QLatin1String("port");
    // Nobody is there to answer a message box: its text goes to the error output.
    const MessageBoxHandler previousBoxes = SetMessageBoxHandler([](const MessageBoxRequest &request) {
        std::fprintf(stderr, "vornex: %s\n", qPrintable(request.text));
        return MessageAnswer::Ok;
    });
    app.setUsesSettings(false);
    app.setSingleInstance(false);
    ResetRuntimeState();
    CardType = portPage ? 0 : options.page.toInt();
    if (!app.initInstance()) {
        std::fprintf(stderr, "vornex: start-up failed\n");
        app.exitInstance();
        SetMessageBoxHandler(previousBoxes);
        return 1;
    }
    CMainFrame *frame = app.mainFrame();
    if (portPage)
        frame->onCommand(CmdPortSet);
    QApplication::processEvents();
    const bool saved = frame->grab().save(options.outputFile, "PNG");
    app.exitInstance();
    SetMessageBoxHandler(previousBoxes);
    if (!saved) {
        std::fprintf(stderr, "vornex: cannot write %s\n", qPrintable(options.outputFile));
        return 1;
    }
    return 0;
}

void ReportStartupReady()
{
    std::printf("ready vmhwm_kb=%lld\n", static_cast<long long>(peakMemoryKb()));
    std::fflush(stdout);
}

int RunStartupProbe(CHalvidApp &app)
{
    if (!app.initInstance()) {
        app.exitInstance();
        return 1;
    }
    // A zero timer fires once the events queued by start-up, the first paint among them, are done.
    QTimer::singleShot(0, [] {
        ReportStartupReady();
        QApplication::quit();
    });
    QApplication::exec();
    return app.exitInstance();
}
