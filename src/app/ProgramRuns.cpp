#include "app/ProgramRuns.h"

#include "app/CHalvidApp.h"
#include "app/CHalvidView.h"
#include "app/CMainFrame.h"
#include "app/ScreenMetrics.h"
#include "reporting/UserPrompts.h"
#include "reader/RuntimeState.h"
#include "base/CardTypes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QTimer>

#include <algorithm>
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

QString ProgramUsage()
{
    return QStringLiteral(
        "Usage: vornex [options]\n"
        "  --port N          use serial port COMN for this run (1 to 255); saved on exit\n"
        "  --baud RATE       use this rate for this run (9600, 14400, 19200, 28800, 38400, 57600 or\n"
        "                    115200); saved on exit\n"
        "  --card NAME|N     open this card's page (a card type 0 to 27, a name such as\n"
        "                    \"Mifare_Std S50\" or MifareStdS50, or port for the port page)\n"
        "  --all-cards       offer every card page in \"Choose Card\"; saved on exit\n"
        "  --reader simulated|pcsc|FILE\n"
        "                    the reader library: the simulated reader beside the program (the\n"
        "                    default), the PC/SC reader library in readers/pcsc beside it, or a\n"
        "                    library file (also VORNEX_READER=...)\n"
        "  --trace FILE      append one JSON line per reader call to FILE (also VORNEX_TRACE=FILE)\n"
        "  --screenshot <CardType|port> <file.png> [--screen <W>x<H>]\n"
        "                    save a picture of one page off-screen and end\n"
        "  --startup-probe   print \"ready\" once started, then end\n"
        "  --help            list these options\n");
}

QString FoldedName(const QString &name)
{
    QString letters;
    for (const QChar c : name) {
        if (c.isLetterOrNumber())
            letters += c.toLower();
    }
    return letters;
}

int ParseCardArgument(const QString &value)
{
    if (value.compare(QLatin1String("port"), Qt::CaseInsensitive) == 0)
        return PortPageCardType;
    bool isNumber = false;
    const int number = value.toInt(&isNumber);
    if (isNumber)
        return number >= 0 && number < CardTypeCount ? number : -1;
    const QString wanted = FoldedName(value);
    for (int cardType = 0; cardType < CardTypeCount && !wanted.isEmpty(); ++cardType) {
        if (FoldedName(CardName(CardKind(cardType))) == wanted)
            return cardType;
    }
    return -1;
}

namespace {

// Qt's own options that take a value; the application object reads them.
bool isQtOptionWithValue(const QString &argument)
{
    static const QStringList withValue = {
        QStringLiteral("-platform"), QStringLiteral("-platformpluginpath"), QStringLiteral("-platformtheme"),
        QStringLiteral("-plugin"), QStringLiteral("-qwindowgeometry"), QStringLiteral("-qwindowtitle"),
        QStringLiteral("-qwindowicon"), QStringLiteral("-style"), QStringLiteral("-stylesheet"),
        QStringLiteral("-session"), QStringLiteral("-display"), QStringLiteral("-geometry")};
    return withValue.contains(argument);
}

// A --reader value is one of the two names or an existing file.
bool isReaderChoice(const QString &value)
{
    return value == QLatin1String("simulated") || value == QLatin1String("pcsc") || QFileInfo(value).isFile();
}

ProgramOptions invalid(const QString &error)
{
    ProgramOptions options;
    options.mode = ProgramOptions::Mode::Invalid;
    options.error = error;
    return options;
}

} // namespace

ProgramOptions ParseProgramOptions(const QStringList &arguments, const QString &environmentTrace,
                                   const QString &environmentReader)
{
    ProgramOptions options;
    bool helpAsked = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        const auto needsValue = [&](const QString &what) {
            return invalid(QStringLiteral("%1 needs %2").arg(argument, what));
        };
        if (argument == QLatin1String("--screenshot")) {
            if (i + 2 >= arguments.size())
                return needsValue(QStringLiteral("a card type (0 to 27, or port) and a file"));
            options.mode = ProgramOptions::Mode::Screenshot;
            options.page = arguments[++i];
            options.outputFile = arguments[++i];
        } else if (argument == QLatin1String("--screen")) {
            if (!hasValue)
                return needsValue(QStringLiteral("<width>x<height>, e.g. 1024x768"));
            options.screen = parseSize(arguments[++i]);
            if (options.screen.isEmpty())
                return invalid(QStringLiteral("--screen needs <width>x<height>, e.g. 1024x768"));
        } else if (argument == QLatin1String("--startup-probe")) {
            options.mode = ProgramOptions::Mode::StartupProbe;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            helpAsked = true;
        } else if (argument == QLatin1String("--port")) {
            if (!hasValue)
                return needsValue(QStringLiteral("a port number (1 to 255)"));
            bool ok = false;
            const int port = arguments[++i].toInt(&ok);
            if (!ok || port < 1 || port > 255)
                return invalid(QStringLiteral("--port: \"%1\" is not a port number (1 to 255)").arg(arguments[i]));
            options.comPort = port;
        } else if (argument == QLatin1String("--baud")) {
            if (!hasValue)
                return needsValue(QStringLiteral("a rate"));
            bool ok = false;
            const int rate = arguments[++i].toInt(&ok);
            const auto found = std::find(BaudRateTable.begin(), BaudRateTable.end(), rate);
            if (!ok || found == BaudRateTable.end())
                return invalid(QStringLiteral("--baud: \"%1\" is not one of 9600, 14400, 19200, 28800, 38400, "
                                              "57600, 115200").arg(arguments[i]));
            options.baudRateIndex = int(found - BaudRateTable.begin());
        } else if (argument == QLatin1String("--card")) {
            if (!hasValue)
                return needsValue(QStringLiteral("a card type (0 to 27), a card name or port"));
            const int cardType = ParseCardArgument(arguments[++i]);
            if (cardType < 0)
                return invalid(QStringLiteral("--card: \"%1\" is no card type (0 to 27), card name or port")
                                   .arg(arguments[i]));
            options.cardType = cardType;
        } else if (argument == QLatin1String("--all-cards")) {
            options.allCards = true;
        } else if (argument == QLatin1String("--reader")) {
            if (!hasValue || arguments[i + 1].isEmpty())
                return needsValue(QStringLiteral("simulated, pcsc or a library file"));
            options.readerLibrary = arguments[++i];
            if (!isReaderChoice(options.readerLibrary))
                return invalid(QStringLiteral("--reader: \"%1\" is neither simulated, pcsc nor a library file")
                                   .arg(options.readerLibrary));
        } else if (argument == QLatin1String("--trace")) {
            if (!hasValue || arguments[i + 1].isEmpty())
                return needsValue(QStringLiteral("a file"));
            options.traceFile = arguments[++i];
        } else if (isQtOptionWithValue(argument)) {
            ++i;
        } else if (argument.startsWith(u'-') && !argument.startsWith(QLatin1String("--")) && argument.size() > 1) {
            // Qt's switches without a value (-reverse, -nograb, ...).
        } else {
            return invalid(QStringLiteral("unknown option \"%1\" (see --help)").arg(argument));
        }
    }
    if (helpAsked) {
        options.mode = ProgramOptions::Mode::Help;
        return options;
    }
    if (options.traceFile.isEmpty())
        options.traceFile = environmentTrace;
    if (options.readerLibrary.isEmpty() && !environmentReader.isEmpty()) {
        if (!isReaderChoice(environmentReader))
            return invalid(QStringLiteral("VORNEX_READER: \"%1\" is neither simulated, pcsc nor a library file")
                               .arg(environmentReader));
        options.readerLibrary = environmentReader;
    }
    if (options.mode == ProgramOptions::Mode::Screenshot) {
        bool ok = false;
        const int cardType = options.page.toInt(&ok);
        if (options.page != QLatin1String("port") && (!ok || cardType < 0 || cardType >= CardTypeCount))
            return invalid(QStringLiteral("the card type must be 0 to 27 or port"));
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
    const bool hasPage = frame->view()->page() != nullptr;
    app.exitInstance();
    SetMessageBoxHandler(previousBoxes);
    if (!saved) {
        std::fprintf(stderr, "vornex: cannot write %s\n", qPrintable(options.outputFile));
        return 1;
    }
    if (!hasPage) {
        std::fprintf(stderr, "vornex: card type %s has no page\n", qPrintable(options.page));
        return 3;
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
