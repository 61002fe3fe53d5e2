#include "base/ProgramDirectory.h"
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

// The title and the four lines come from the file as it is at each opening; keys it lacks and a
// missing file leave them empty, never the template's texts; long values are cut at 259.
TEST_F(AboutDlgTest, ShowsTheTitleAndTheFourLinesOfTheFileAtEachOpening)
{
    const struct {
        QByteArray file;
        QString title;
        QStringList lines;
    } cases[] = {
        {"[AppInfo]\nAboutTitle=About it\nAboutVersion=v 2\nAboutLTD=Corvale\nHTTP=web\nCOPYRIGHT=(c)\n",
         QStringLiteral("About it"), {"v 2", "Corvale", "web", "(c)"}},
        {"[AppInfo]\nAboutTitle=Only title\nHTTP=only web\n", QStringLiteral("Only title"), {"", "", "only web", ""}},
        {"[AppInfo]\nAboutTitle=Edited\nCOPYRIGHT=" + QByteArray(300, 'c') + "\n", QStringLiteral("Edited"),
         {"", "", "", QString(259, u'c')}},
        {QByteArray(), QString(), {"", "", "", ""}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file.left(60).toStdString());
        if (c.file.isEmpty())
            QFile::remove(path);
        else
            write(c.file);
        CAboutDlg dialog(path);
        EXPECT_EQ(dialog.windowTitle(), c.title);
        for (int id = 1097; id <= 1100; ++id)
            EXPECT_EQ(line(dialog, id), c.lines[id - 1097]) << id;
    }
}

TEST_F(AboutDlgTest, OkClosesTheBox)
{
    CAboutDlg dialog(path);
    auto *ok = dialog.findChild<QAbstractButton *>(QStringLiteral("id1"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("确定"));
    dialog.show();
    ok->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
