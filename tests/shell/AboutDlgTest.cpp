#include "reader/ProgramDirectory.h"
#include "shell/AppConfig.h"
#include "shell/CAboutDlg.h"

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Each test gives the about box its own configuration file.
class AboutDlgTest : public ::testing::Test
{
protected:
    void SetUp() override { path = folder.filePath(QStringLiteral("AppConfig.ini")); }

    void write(const QByteArray &contents)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
    }

    static QString line(const CAboutDlg &dialog, int id)
    {
        const QLabel *label = dialog.findChild<QLabel *>(QStringLiteral("id%1").arg(id));
        EXPECT_NE(label, nullptr) << id;
        return label != nullptr ? label->text() : QString();
    }

    QTemporaryDir folder;
    QString path;
};

TEST_F(AboutDlgTest, ProgramsOwnFileGivesTheShippedTexts)
{
    CAboutDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), ReadAppConfig(AppConfigAboutTitle));
    EXPECT_FALSE(dialog.windowTitle().isEmpty());
    EXPECT_EQ(line(dialog, 1100), ReadAppConfig(AppConfigCopyright));
}

TEST_F(AboutDlgTest, ShowsTheTitleAndTheFourLinesOfTheFile)
{
    write("[AppInfo]\nAboutTitle=About it\nAboutVersion=v 2\nAboutLTD=Corvale\nHTTP=web\nCOPYRIGHT=(c)\n");
    CAboutDlg dialog(path);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About it"));
    EXPECT_EQ(line(dialog, 1097), QStringLiteral("v 2"));
    EXPECT_EQ(line(dialog, 1098), QStringLiteral("Corvale"));
    EXPECT_EQ(line(dialog, 1099), QStringLiteral("web"));
    EXPECT_EQ(line(dialog, 1100), QStringLiteral("(c)"));
    auto *ok = dialog.findChild<QAbstractButton *>(QStringLiteral("id1"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("确定"));
}

TEST_F(AboutDlgTest, TemplateTextsNeverShowAndEditsTakeEffectAtTheNextOpening)
{
    write("[AppInfo]\nAboutTitle=Only title\nHTTP=only web\n");
    {
        CAboutDlg dialog(path);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Only title"));
        EXPECT_EQ(line(dialog, 1097), QString());
        EXPECT_EQ(line(dialog, 1098), QString());
        EXPECT_EQ(line(dialog, 1099), QStringLiteral("only web"));
        EXPECT_EQ(line(dialog, 1100), QString());
    }
    write("[AppInfo]\nAboutTitle=Edited\nCOPYRIGHT=" + QByteArray(300, 'c') + "\n");
    CAboutDlg dialog(path);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Edited"));
    EXPECT_EQ(line(dialog, 1100), QString(259, u'c'));
}

TEST_F(AboutDlgTest, OkClosesTheBoxAndAMissingFileLeavesItEmpty)
{
    QFile::remove(path);
    CAboutDlg dialog(path);
    EXPECT_TRUE(dialog.windowTitle().isEmpty());
    for (int id = 1097; id <= 1100; ++id)
        EXPECT_TRUE(line(dialog, id).isEmpty()) << id;
    dialog.show();
    dialog.findChild<QAbstractButton *>(QStringLiteral("id1"))->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
