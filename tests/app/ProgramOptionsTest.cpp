#include "app/ProgramRuns.h"
#include "base/CardTypes.h"
#include "reader/ReaderLibrary.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <optional>

namespace {

ProgramOptions parse(const QStringList &arguments, const QString &environmentTrace = QString(),
                     const QString &environmentReader = QString())
{
    return ParseProgramOptions(QStringList{QStringLiteral("vornex")} + arguments, environmentTrace, environmentReader);
}

TEST(ProgramOptionsTest, GoodValues)
{
    using Mode = ProgramOptions::Mode;
    struct Case {
        QStringList arguments;
        QString environmentTrace;
        Mode mode;
        std::optional<int> port, baudIndex, cardType;
        QString trace;
    };
    const Case cases[] = {
        {{}, {}, Mode::Normal, {}, {}, {}, {}},
        {{"--port", "1", "--baud", "14400"}, {}, Mode::Normal, 1, 1, {}, {}},
        {{"--baud", "9600", "--port", "255"}, {}, Mode::Normal, 255, 0, {}, {}},
        {{"--card", "2"}, {}, Mode::Normal, {}, {}, 2, {}},
        {{"--card", "mifare_stds50"}, {}, Mode::Normal, {}, {}, 1, {}},
        {{"--card", "Mifare_Pro(X)"}, {}, Mode::Normal, {}, {}, 6, {}},
        {{"--card", "PORT"}, {}, Mode::Normal, {}, {}, PortPageCardType, {}},
        {{"--all-cards", "--card", "SHC1102"}, {}, Mode::Normal, {}, {}, 21, {}},
        {{"--trace", "/tmp/a.jsonl"}, {}, Mode::Normal, {}, {}, {}, "/tmp/a.jsonl"},
        {{}, "/tmp/env.jsonl", Mode::Normal, {}, {}, {}, "/tmp/env.jsonl"},
        {{"--trace", "/tmp/a.jsonl"}, "/tmp/env.jsonl", Mode::Normal, {}, {}, {}, "/tmp/a.jsonl"},
        {{"-platform", "offscreen", "-reverse", "--port", "3"}, {}, Mode::Normal, 3, {}, {}, {}},
        {{"--port", "2", "--help"}, {}, Mode::Help, 2, {}, {}, {}},
        {{"--screenshot", "port", "/tmp/p.png", "--screen", "800x600"}, {}, Mode::Screenshot, {}, {}, {}, {}},
        {{"--startup-probe"}, {}, Mode::StartupProbe, {}, {}, {}, {}},
    };
    for (const Case &c : cases) {
        const ProgramOptions options = parse(c.arguments, c.environmentTrace);
        const std::string what = c.arguments.join(u' ').toStdString();
        EXPECT_EQ(options.mode, c.mode) << what << ": " << options.error.toStdString();
        EXPECT_EQ(options.comPort, c.port) << what;
        EXPECT_EQ(options.baudRateIndex, c.baudIndex) << what;
        EXPECT_EQ(options.cardType, c.cardType) << what;
        EXPECT_EQ(options.allCards, c.arguments.contains(QStringLiteral("--all-cards"))) << what;
        if (c.mode != Mode::Help) {
            EXPECT_EQ(options.traceFile, c.trace) << what;
        }
    }
}

TEST(ProgramOptionsTest, BadValuesAreRefusedWithAClearError)
{
    struct Case {
        QStringList arguments;
        const char *errorPart;
    };
    const Case cases[] = {
        {{"--port", "0"}, "--port: \"0\" is not a port number (1 to 255)"},
        {{"--port", "COM1"}, "\"COM1\" is not a port number"},
        {{"--port"}, "--port needs a port number"},
        {{"--baud", "12345"}, "--baud: \"12345\" is not one of 9600, 14400"},
        {{"--baud"}, "--baud needs a rate"},
        {{"--card", "28"}, "--card: \"28\" is no card type"},
        {{"--card"}, "--card needs"},
        {{"--trace", ""}, "--trace needs a file"},
        {{"--frobnicate"}, "unknown option \"--frobnicate\" (see --help)"},
        {{"--screenshot", "99", "/tmp/x.png"}, "the card type must be 0 to 27 or port"},
        {{"--screen", "tiny"}, "--screen needs <width>x<height>"},
    };
    for (const Case &c : cases) {
        const ProgramOptions options = parse(c.arguments);
        const std::string what = c.arguments.join(u' ').toStdString();
        EXPECT_EQ(options.mode, ProgramOptions::Mode::Invalid) << what;
        EXPECT_TRUE(options.error.contains(QString::fromUtf8(c.errorPart))) << what << ": " << options.error.toStdString();
    }
    for (const char *option : {"--port", "--baud", "--card", "--reader", "--trace", "--help", "--screenshot"})
        EXPECT_TRUE(ProgramUsage().contains(QLatin1String(option))) << option;
}

// The reader library by name, by file or from VORNEX_READER, the option first; a name that is
// neither refused before anything starts.
TEST(ProgramOptionsTest, ChoosingTheReaderLibrary)
{
    const QString file = QCoreApplication::applicationFilePath();
    const struct {
        QStringList arguments;
        QString environment;
        QString chosen;     // empty when refused
        const char *error;
    } cases[] = {
        {{}, {}, {}, nullptr},
        {{"--reader", "pcsc"}, {}, "pcsc", nullptr},
        {{"--reader", "simulated"}, "pcsc", "simulated", nullptr},
        {{}, "pcsc", "pcsc", nullptr},
        {{"--reader", file}, {}, file, nullptr},
        {{"--reader", "pcs"}, {}, {}, "--reader: \"pcs\" is neither simulated, pcsc nor a library file"},
        {{}, "/no/such.so", {}, "VORNEX_READER: \"/no/such.so\" is neither"},
        {{"--reader"}, {}, {}, "--reader needs simulated, pcsc or a library file"},
    };
    for (const auto &c : cases) {
        const ProgramOptions options = parse(c.arguments, {}, c.environment);
        const std::string what = (c.arguments.join(u' ') + u'|' + c.environment).toStdString();
        if (c.error != nullptr) {
            EXPECT_EQ(options.mode, ProgramOptions::Mode::Invalid) << what;
            EXPECT_TRUE(options.error.contains(QString::fromUtf8(c.error))) << what << ": " << options.error.toStdString();
        } else {
            EXPECT_EQ(options.mode, ProgramOptions::Mode::Normal) << what << ": " << options.error.toStdString();
            EXPECT_EQ(options.readerLibrary, c.chosen) << what;
        }
    }
    // The names lead to the libraries the build lays beside the program.
    EXPECT_EQ(ReaderLibrary::pathFor(QStringLiteral("simulated")), ReaderLibrary::defaultPath());
    EXPECT_TRUE(QFileInfo(ReaderLibrary::pathFor(QStringLiteral("pcsc"))).isFile());
    EXPECT_TRUE(ReaderLibrary::pathFor(QString()).isEmpty());
}

} // namespace
