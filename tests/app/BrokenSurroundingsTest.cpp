#include "FrameFixture.h"

#include "app/CInfoBar.h"
#include "base/ProgramDirectory.h"
#include "reader/ReaderLibrary.h"
#include "shell/AppConfig.h"
#include "shell/CAboutDlg.h"
#include "shell/CBackgroundDlg.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <optional>
#include <random>
#include <sys/stat.h>

namespace {

// A named pipe in place of the file (opening it to read would wait for a writer for ever) when
// no bytes are given.
void replaceFile(const QString &path, const std::optional<QByteArray> &bytes)
{
    QFile::remove(path);
    ASSERT_TRUE(bytes ? writeBytes(path, *bytes) : mkfifo(QFile::encodeName(path).constData(), 0644) == 0);
}

// A program folder holding what the built program has beside it, with one thing broken.
class BrokenSurroundingsTest : public FrameFixture
{
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        reader.reset(); // the library in the folder binds ReaderApi
        SetProgramDirectoryOverride(folder.path());
    }
    void TearDown() override
    {
        SetProgramDirectoryOverride(QString());
        FrameFixture::TearDown();
    }

    // The folder as the build leaves the program's: reader library, backgrounds, configuration.
    void fillFolder()
    {
        QDir(folder.path()).removeRecursively();
        QDir().mkpath(folder.path());
        for (const QString &name : {ReaderLibrary::fileName(), backgrounds, config})
            ASSERT_TRUE(QFile::copy(builtFile(name), file(name))) << name.toStdString();
    }

    QString file(const QString &name) const { return folder.filePath(name); }
    static QString builtFile(const QString &name) { return QCoreApplication::applicationDirPath() + u'/' + name; }

    QTemporaryDir folder;
    const QString backgrounds = QStringLiteral("Kelb_Paper.rcc");
    const QString config = QStringLiteral("AppConfig.ini");
};

// What the operator sees at start-up with each broken surrounding: the refusal of the reader
// library, or a program that runs and paints its pages and dialogs (without backgrounds, with an
// empty software name), never a crash.
TEST_F(BrokenSurroundingsTest, StartUpInABrokenProgramFolder)
{
    const QString library = ReaderLibrary::fileName();
    const QByteArray realBackgrounds = fileBytes(builtFile(backgrounds));
    // The resource file's header (magic, version, offsets) kept, everything after it scrambled.
    QByteArray scrambledTree = realBackgrounds;
    std::mt19937 random(7);
    std::for_each(scrambledTree.begin() + 20, scrambledTree.end(), [&random](char &byte) { byte = char(random()); });

    const struct {
        const char *name;
        std::function<void()> breakIt;
        bool starts;
        const char *memo; // after the start-up connection
        bool backgrounds;
    } cases[] = {
        {"reader library missing", [&] { QFile::remove(file(library)); }, false, "", false},
        {"reader library a named pipe", [&] { replaceFile(file(library), {}); }, false, "", false},
        {"reader library without the required ordinals it never calls",
         [&] { replaceFile(file(library), fileBytes(builtFile(QStringLiteral("test-readers/libReaderCalledOnly.so")))); },
         false, "", false},
        {"reader library without the optional ordinals, not answering",
         [&] { replaceFile(file(library), fileBytes(builtFile(QStringLiteral("test-readers/libReaderRequiredOnly.so")))); },
         true, "Error: Port did't opened", true},
        {"backgrounds missing", [&] { QFile::remove(file(backgrounds)); }, true, "", false},
        {"backgrounds cut in half", [&] { replaceFile(file(backgrounds), realBackgrounds.left(realBackgrounds.size() / 2)); },
         true, "", false},
        {"backgrounds with a scrambled tree", [&] { replaceFile(file(backgrounds), scrambledTree); }, true, "", false},
        {"backgrounds a named pipe", [&] { replaceFile(file(backgrounds), {}); }, true, "", false},
        {"configuration a named pipe", [&] { replaceFile(file(config), {}); }, true, "", true},
        {"configuration missing", [&] { QFile::remove(file(config)); }, true, "", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        fillFolder();
        c.breakIt();
        writeSettings(1, 1, 2);
        boxes.clear();
        {
            CHalvidApp app;
            ASSERT_EQ(app.initInstance(), c.starts);
            if (!c.starts) {
                EXPECT_EQ(app.mainFrame(), nullptr);
                ASSERT_EQ(boxes.size(), 1u);
                EXPECT_EQ(boxes[0].caption + u'|' + boxes[0].text, QStringLiteral("|Load Zentrava.dll failed !"));
                EXPECT_EQ(boxes[0].buttons, MessageButtons::Ok);
                EXPECT_EQ(boxes[0].icon, MessageIcon::None);
            } else {
                CMainFrame *frame = app.mainFrame();
                EXPECT_TRUE(boxes.empty());
                EXPECT_EQ(frame->infoBar()->memoText(), QString::fromLatin1(c.memo));
                frame->grab();
                CAboutDlg about;
                EXPECT_EQ(about.windowTitle(), ReadAppConfig(AppConfigAboutTitle));
                CBackgroundDlg chooser(0);
                chooser.grab();
                EXPECT_EQ(chooser.hasPreview(), c.backgrounds);
            }
            CardType = 4;
            app.exitInstance();
        }
        EXPECT_EQ(savedSettings(), "4 1 2 0") << "the settings are written in every case";
    }
}

} // namespace
