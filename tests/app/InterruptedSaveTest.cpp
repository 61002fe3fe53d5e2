#include "TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The program's saved files, each written by save_loop through the program's own code, and
// their place inside the folder given to save_loop.
struct SavedFile {
    const char *kind, *fileName;
} const SavedFiles[] = {{"settings", "Corvale/IORFCard.reg"}, {"book", "cosbooks.txt"}, {"scenario", "scenario.json"}};

QString saveLoopPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/save_loop");
}

// Runs save_loop to its end; the file-size limit, when given, holds in the child only.
int runSave(const SavedFile &file, const QString &folder, const char *mode, QString *errors = nullptr,
            rlim_t fileSizeLimit = RLIM_INFINITY)
{
    QProcess process;
    process.setChildProcessModifier([fileSizeLimit] {
        // A full disk, as far as the saver sees: writes beyond the limit fail with EFBIG.
        std::signal(SIGXFSZ, SIG_IGN);
        if (fileSizeLimit != RLIM_INFINITY) {
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
    });
    process.start(saveLoopPath(), {QString::fromLatin1(file.kind), folder, QString::fromLatin1(mode)});
    if (!process.waitForFinished(120000))
        return -1;
    if (errors != nullptr)
        *errors = QString::fromLocal8Bit(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// A full disk (the file-size limit, which binds root too) or a place that cannot take the file
// leaves the old file whole; the scenario file says why, the settings and the books stay silent.
// Killed at random moments while it saves again and again, the saver leaves always one whole
// version, never a cut or mixed one.
TEST(InterruptedSaveTest, AFailedOrKilledSaveLeavesTheOldOrTheNewFile)
{
    ASSERT_TRUE(QFile::exists(saveLoopPath())) << "save_loop is built beside the tests";
    std::mt19937 random(14);
    for (const SavedFile &file : SavedFiles) {
        SCOPED_TRACE(file.kind);
        const bool reports = QByteArray(file.kind) != "settings", scenario = QByteArray(file.kind) == "scenario";
        // The two contents save_loop alternates, as whole files.
        QTemporaryDir folder, other;
        const QString path = folder.filePath(QString::fromLatin1(file.fileName));
        ASSERT_EQ(runSave(file, folder.path(), "a"), 0);
        ASSERT_EQ(runSave(file, other.path(), "b"), 0);
        const QByteArray a = fileBytes(path), b = fileBytes(other.filePath(QString::fromLatin1(file.fileName)));
        ASSERT_NE(a.size(), 0);
        ASSERT_NE(a, b);

        const QStringList before = QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files);
        QString errors;
        EXPECT_EQ(runSave(file, folder.path(), "b", &errors, 4096), reports ? 1 : 0);
        EXPECT_TRUE(fileBytes(path) == a) << "the old file changed";
        EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files), before) << "no temporary file left";
        if (scenario) {
            EXPECT_EQ(errors.trimmed(), path + QStringLiteral(": cannot write: File too large"));
        }
        // A folder that is a regular file, which stops root as well as anybody.
        const QString plain = folder.filePath(QStringLiteral("plain"));
        QFile(plain).open(QIODevice::WriteOnly);
        EXPECT_EQ(runSave(file, plain, "b", &errors), reports ? 1 : 0);
        EXPECT_EQ(QFileInfo(plain).size(), 0);
        if (scenario) {
            EXPECT_EQ(errors.trimmed(), plain + QStringLiteral("/scenario.json: cannot write: Not a directory"));
        }

        // save_loop saves without a pause: a kill after a random delay lands anywhere in a save.
        for (int kill = 0; kill < 12; ++kill) {
            QProcess saver;
            saver.start(saveLoopPath(), {QString::fromLatin1(file.kind), folder.path(), QStringLiteral("loop")});
            // "ready" once its first save is done and the next begins.
            ASSERT_TRUE(saver.waitForReadyRead(60000)) << "save_loop never got ready";
            ASSERT_EQ(saver.readLine().trimmed(), "ready");
            usleep(std::uniform_int_distribution<useconds_t>(0, 20000)(random));
            saver.kill();
            saver.waitForFinished();
            const QByteArray now = fileBytes(path);
            ASSERT_TRUE(now == a || now == b) << "kill " << kill << ": a file of " << now.size() << " bytes";
        }
    }
}

} // namespace
