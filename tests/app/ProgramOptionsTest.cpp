#include "app/ProgramRuns.h"
#include "base/CardTypes.h"
#include "reader/ReaderLibrary.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <optional>

namespace {

ProgramOptions parse(const QStringList &arguments, const QString &environmentTrace, const QString &environmentReader)
{
    return ParseProgramOptions(QStringList{QStringLiteral("vornex")} + arguments, environmentTrace, environmentReader);
}

// The options as "mode port baud card all-cards trace reader", "-" for what is unset.
QString described(const ProgramOptions &options)
{
    const char *modes[] = {"normal", "screenshot", "probe", "help", "invalid"};
    const auto value = [](const std::optional<int> &number) { return number ? QString::number(*number) : QStringLiteral("-"); };
    const auto text = [](const QString &string) { return string.isEmpty() ? QStringLiteral("-") : string; };
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
        .arg(QLatin1String(modes[int(options.mode)]), value(options.comPort), value(options.baudRateIndex), value(options.cardType))
        .arg(int(options.allCards))
        .arg(text(options.traceFile), text(options.readerLibrary));
}

// The values of the command line and of VORNEX_TRACE and VORNEX_READER, the option first; the
// reader library by name or by file.
TEST(ProgramOptionsTest, GoodValues)
{
    const QString file = QCoreApplication::applicationFilePath();
    const struct {
        QStringList arguments;
        QString environmentTrace, environmentReader, expected;
    } cases[] = {
        {{}, {}, {}, "normal - - - 0 - -"},
        {{"--port", "1", "--baud", "14400"}, {}, {}, "normal 1 1 - 0 - -"},
        {{"--baud", "9600", "--port", "255"}, {}, {}, "normal 255 0 - 0 - -"},
        {{"--card", "2"}, {}, {}, "normal - - 2 0 - -"},
        {{"--card", "mifare_stds50"}, {}, {}, "normal - - 1 0 - -"},
        {{"--card", "Mifare_Pro(X)"}, {}, {}, "normal - - 6 0 - -"},
        {{"--card", "PORT"}, {}, {}, QStringLiteral("normal - - %1 0 - -").arg(PortPageCardType)},
        {{"--all-cards", "--card", "SHC1102"}, {}, {}, "normal - - 21 1 - -"},
        {{"--trace", "/tmp/a.jsonl"}, {}, {}, "normal - - - 0 /tmp/a.jsonl -"},
        {{}, "/tmp/env.jsonl", {}, "normal - - - 0 /tmp/env.jsonl -"},
        {{"--trace", "/tmp/a.jsonl"}, "/tmp/env.jsonl", {}, "normal - - - 0 /tmp/a.jsonl -"},
        {{"-platform", "offscreen", "-reverse", "--port", "3"}, {}, {}, "normal 3 - - 0 - -"},
        {{"--port", "2", "--help"}, {}, {}, "help 2 - - 0 - -"},
        {{"--screenshot", "port", "/tmp/p.png", "--screen", "800x600"}, {}, {}, "screenshot - - - 0 - -"},
        {{"--startup-probe"}, {}, {}, "probe - - - 0 - -"},
        {{"--reader", "pcsc"}, {}, {}, "normal - - - 0 - pcsc"},
        {{"--reader", "simulated"}, {}, "pcsc", "normal - - - 0 - simulated"},
        {{}, {}, "pcsc", "normal - - - 0 - pcsc"},
        {{"--reader", file}, {}, {}, "normal - - - 0 - " + file},
    };
    for (const auto &c : cases)
        EXPECT_EQ(described(parse(c.arguments, c.environmentTrace, c.environmentReader)), c.expected)
            << c.arguments.join(u' ').toStdString();
    // The names lead to the libraries the build lays beside the program.
    EXPECT_EQ(ReaderLibrary::pathFor(QStringLiteral("simulated")), ReaderLibrary::defaultPath());
    EXPECT_TRUE(QFileInfo(ReaderLibrary::pathFor(QStringLiteral("pcsc"))).isFile());
    EXPECT_TRUE(ReaderLibrary::pathFor(QString()).isEmpty());
}

// Refused before anything starts, with a clear error.
TEST(ProgramOptionsTest, BadValues)
{
    const struct {
        QStringList arguments;
        QString environmentReader;
        const char *errorPart;
    } cases[] = {
        {{"--port", "0"}, {}, "--port: \"0\" is not a port number (1 to 255)"},
        {{"--port", "COM1"}, {}, "\"COM1\" is not a port number"},
        {{"--port"}, {}, "--port needs a port number"},
        {{"--baud", "12345"}, {}, "--baud: \"12345\" is not one of 9600, 14400"},
        {{"--baud"}, {}, "--baud needs a rate"},
        {{"--card", "28"}, {}, "--card: \"28\" is no card type"},
        {{"--card"}, {}, "--card needs"},
        {{"--trace", ""}, {}, "--trace needs a file"},
        {{"--frobnicate"}, {}, "unknown option \"--frobnicate\" (see --help)"},
        {{"--screenshot", "99", "/tmp/x.png"}, {}, "the card type must be 0 to 27 or port"},
        {{"--screen", "tiny"}, {}, "--screen needs <width>x<height>"},
        {{"--reader", "pcs"}, {}, "--reader: \"pcs\" is neither simulated, pcsc nor a library file"},
        {{}, "/no/such.so", "VORNEX_READER: \"/no/such.so\" is neither"},
        {{"--reader"}, {}, "--reader needs simulated, pcsc or a library file"},
    };
    for (const auto &c : cases) {
        const ProgramOptions options = parse(c.arguments, {}, c.environmentReader);
        EXPECT_EQ(options.mode, ProgramOptions::Mode::Invalid) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(options.error.contains(QString::fromUtf8(c.errorPart))) << options.error.toStdString();
    }
    for (const char *option : {"--port", "--baud", "--card", "--reader", "--trace", "--help", "--screenshot"})
        EXPECT_TRUE(ProgramUsage().contains(QLatin1String(option))) << option;
}

} // namespace
