// save_loop <settings|book|scenario> <folder> <a|b|loop>
//
// Saves one of the program's files in <folder> through the program's own code: content "a",
// content "b", or, with "loop", "a" once, then the line "ready" on the standard output, then
// "b", "a", "b", ... until it is killed. The two contents differ in their values and, for the book
// and the scenario, in their length. Exit status 1 when the save failed, with the reason on
// the standard error where the saver gives one.

#include "consoles/CCommandBook.h"
#include "reader/CSettingsKey.h"
#include "reader/RuntimeState.h"
#include "reader/Settings.h"

#include "ScenarioError.h"
#include "ScenarioFile.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool saveSettings(bool second)
{
    // A settings key as big as a hand-edited one may grow, so that each save takes a while and a
    // kill lands inside it.
    const QString name = QString::fromLatin1(SettingsKeyName);
    if (!QFile::exists(CSettingsKey::keyFilePath(name))) {
        CSettingsKey::DwordValues padding;
        for (uint32_t i = 0; i < 2000; ++i)
            padding.emplace_back(QStringLiteral("Padding%1").arg(i), i);
        CSettingsKey key;
        if (key.openForWriting(name))
            key.writeDwords(padding);
    }
    CardType = second ? 22 : 1;
    ComPort = second ? 7 : 1;
    BaudRate = second ? 6 : 2;
    CurBitmap = second ? 31 : 0;
    WriteSettings();
    return true;
}

bool saveBook(const QString &folder, bool second)
{
    CCommandBook book;
    const int lines = second ? CCommandBook::MaxLines : 120;
    for (int i = 0; i < lines; ++i)
        book.AddLine(QByteArray::number(i) + QByteArray(600, second ? 'b' : 'a'));
    return book.SaveBook(QDir(folder).filePath(QStringLiteral("cosbooks.txt")));
}

bool saveScenario(const QString &folder, bool second)
{
    const std::string text = second ? std::string(500000, 'b') : std::string(300000, 'a');
    try {
        zentrava::ScenarioFile(QDir(folder).filePath(QStringLiteral("scenario.json")).toStdString()).save(text);
    } catch (const zentrava::ScenarioError &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fputs("usage: save_loop <settings|book|scenario> <folder> <a|b|loop>\n", stderr);
        return 2;
    }
    const std::string kind = argv[1];
    const QString folder = QFile::decodeName(argv[2]);
    const std::string mode = argv[3];
    qputenv("XDG_CONFIG_HOME", argv[2]);
    const auto save = [&](bool second) {
        return kind == "settings" ? saveSettings(second)
               : kind == "book"   ? saveBook(folder, second)
                                  : saveScenario(folder, second);
    };
    if (mode != "loop")
        return save(mode == "b") ? 0 : 1;
    save(false);
    std::puts("ready");
    std::fflush(stdout);
    for (bool second = true;; second = !second)
        save(second);
}
