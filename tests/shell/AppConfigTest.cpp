#include "PageHarness.h"
#include "TestFiles.h"

#include "shell/AppConfig.h"
#include "shell/CAboutDlg.h"

#include <QAbstractButton>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class AppConfigTest : public ::testing::Test
{
protected:
    QString write(const QByteArray &contents)
    {
        const QString path = folder.filePath(QStringLiteral("AppConfig.ini"));
        EXPECT_TRUE(writeBytes(path, contents));
        return path;
    }

    QTemporaryDir folder;
};

TEST_F(AppConfigTest, KeysByIndexAndTheirEdges)
{
    const QString path = write("; comment line\n"
                               "[Other]\nSoftwareName=wrong section\n"
                               "[ appinfo ]\r\n"
                               "Company = Corvale \r\n"
                               "version=1.2\n"
                               "SoftwareName=\"Quoted Name\"\n"
                               "AboutTitle=About=Equals\n"
                               "HTTP=\n"
                               "no equals sign here\n"
                               "SoftwareName=second one is ignored\n"
                               "[Later]\nCOPYRIGHT=not ours\n");
    EXPECT_EQ(ReadAppConfigFrom(path, AppConfigCompany), QStringLiteral("Corvale"));
    EXPECT_EQ(ReadAppConfigFrom(path, AppConfigVersion), QStringLiteral("1.2"));
    EXPECT_EQ(ReadAppConfigFrom(path, AppConfigSoftwareName), QStringLiteral("Quoted Name"));
    EXPECT_EQ(ReadAppConfigFrom(path, AppConfigAboutTitle), QStringLiteral("About=Equals"));
    for (int index : {int(AppConfigHttp), int(AppConfigCopyright), -1, 8})
        EXPECT_EQ(ReadAppConfigFrom(path, index), QString()) << index;

    // A missing file or section gives empty texts.
    EXPECT_EQ(ReadAppConfigFrom(folder.filePath(QStringLiteral("none.ini")), AppConfigSoftwareName), QString());
    const QString noSection = write("SoftwareName=no section\nAboutTitle=x\n");
    for (int index = 0; index < 8; ++index)
        EXPECT_EQ(ReadAppConfigFrom(noSection, index), QString()) << index;
}

TEST_F(AppConfigTest, LongValuesAreCutAt259Characters)
{
    const QString path = write("[AppInfo]\nAboutVersion=" + QByteArray(300, 'x') + "\nHTTP=" + QByteArray(259, 'y') + "\n");
    EXPECT_EQ(ReadAppConfigFrom(path, AppConfigAboutVersion), QString(259, u'x'));
    EXPECT_EQ(ReadAppConfigFrom(path, AppConfigHttp), QString(259, u'y'));
    // The fuzz target and its seed hold that the cut never splits a surrogate pair.

    // A line far longer than any buffer: its tail never passes for a key of its own.
    const QString hugePath = write("[AppInfo]\nAboutLTD=" + QByteArray(200000, 'z') + "HTTP=tail\nCOPYRIGHT=c\n");
    EXPECT_EQ((QStringList{ReadAppConfigFrom(hugePath, AppConfigAboutLtd), ReadAppConfigFrom(hugePath, AppConfigHttp),
                           ReadAppConfigFrom(hugePath, AppConfigCopyright)}),
              (QStringList{QString(259, u'z'), QString(), QStringLiteral("c")}));
}

using AboutDlgTest = AppConfigTest;

// The title and the four lines come from the file as it is at each opening; keys it lacks and a
// missing file leave them empty, never the template's texts.
TEST_F(AboutDlgTest, ShowsTheTitleAndTheFourLinesOfTheFileAtEachOpeningAndOkClosesIt)
{
    const struct {
        QByteArray file;
        QString title;
        QStringList lines;
    } cases[] = {
        {"[AppInfo]\nAboutTitle=About it\nAboutVersion=v 2\nAboutLTD=Corvale\nHTTP=web\nCOPYRIGHT=(c)\n",
         QStringLiteral("About it"), {"v 2", "Corvale", "web", "(c)"}},
        {"[AppInfo]\nAboutTitle=Edited\nHTTP=only web\n", QStringLiteral("Edited"), {"", "", "only web", ""}},
        {QByteArray(), QString(), {"", "", "", ""}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file.left(60).toStdString());
        const QString path = write(c.file);
        if (c.file.isEmpty())
            QFile::remove(path);
        CAboutDlg dialog(path);
        EXPECT_EQ(dialog.windowTitle(), c.title);
        QStringList lines;
        for (int id = 1097; id <= 1100; ++id)
            lines << PageHarness::text(&dialog, id);
        EXPECT_EQ(lines, c.lines);
        dialog.show();
        dialog.findChild<QAbstractButton *>(QStringLiteral("id1"))->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(dialog.isVisible());
    }
}

} // namespace
